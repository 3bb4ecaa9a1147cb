#include "core/instrument/VirtualCable.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace sondara {

std::shared_ptr<VirtualCable> VirtualCable::open(const std::string& path, std::string* error) {
    auto fail = [&](const char* what) -> std::shared_ptr<VirtualCable> {
        if (error) *error = std::string("无法打开虚拟电缆 ") + path + "：" + what + " " + std::strerror(errno);
        return nullptr;
    };
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return fail("open");
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return fail("stat");
    }
    if (st.st_size < static_cast<off_t>(kBytes) && ::ftruncate(fd, kBytes) != 0) {
        ::close(fd);
        return fail("truncate");
    }
    void* p = ::mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    if (p == MAP_FAILED) return fail("mmap");
    std::shared_ptr<VirtualCable> c(new VirtualCable);
    c->mapping_ = p;
    c->bytes_ = static_cast<std::uint8_t*>(p);
    c->path_ = path;
    return c;
}

std::shared_ptr<VirtualCable> VirtualCable::inMemory() {
    std::shared_ptr<VirtualCable> c(new VirtualCable);
    c->bytes_ = c->memory_;
    c->path_ = "(memory)";
    return c;
}

VirtualCable::~VirtualCable() {
    if (mapping_) ::munmap(mapping_, kBytes);
}

VirtualPortIo::VirtualPortIo(std::shared_ptr<VirtualCable> cable, Side side, long accessNs,
                             std::string name)
    : cable_(std::move(cable)), side_(side), accessNs_(accessNs), name_(std::move(name)) {
    if (name_.empty()) name_ = "virtual:" + cable_->path();
}

void VirtualPortIo::pause() const {
    if (accessNs_ <= 0) return;
    const auto until = std::chrono::steady_clock::now() + std::chrono::nanoseconds(accessNs_);
    // Busily: sleeping would last far longer than a microsecond.
    while (std::chrono::steady_clock::now() < until) {
    }
}

std::uint8_t VirtualPortIo::readStatus() {
    pause();
    std::uint8_t status = 0;
    if (cable_->plugged()) {
        const std::uint8_t other = cable_->load(side_ == Side::Pc ? VirtualCable::InstrumentData
                                                                   : VirtualCable::PcData);
        status = static_cast<std::uint8_t>((other & 0x1F) << 3);
        if (side_ == Side::Pc) cable_->countPcRead();
    }
    // The other end is a process or thread of its own that needs a processor to
    // answer: while the lines stay still, give ours away now and then.
    if (status == lastStatus_) {
        if (++sameReads_ % 16 == 0) sched_yield();
    } else {
        lastStatus_ = status;
        sameReads_ = 0;
    }
    return status;
}

void VirtualPortIo::writeData(std::uint8_t value) {
    pause();
    if (!cable_->plugged()) return;
    cable_->store(side_ == Side::Pc ? VirtualCable::PcData : VirtualCable::InstrumentData, value);
    if (side_ == Side::Pc) cable_->countPcWrite();
}

void VirtualPortIo::writeControl(std::uint8_t value) {
    pause();
    if (!cable_->plugged() || side_ != Side::Pc) return;
    cable_->store(VirtualCable::PcControl, value);
}

}  // namespace sondara
