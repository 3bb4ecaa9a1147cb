#include "core/instrument/VirtualCable.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace sondara {

std::shared_ptr<VirtualCable> VirtualCable::open(const std::string& path, std::string* error) {
    auto fail = [&](const char* what) -> std::shared_ptr<VirtualCable> {
        if (error)
            *error =
                std::string("无法打开虚拟电缆 ") + path + "：" + what + " " + std::strerror(errno);
        return nullptr;
    };
    // Never through a link: one planted in a shared folder would make the program
    // create or scribble on a file of the link's choosing.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return fail("open");
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int e = errno;
        ::close(fd);
        errno = e;
        return fail("stat");
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return fail("not a regular file");
    }
    if (st.st_size < static_cast<off_t>(kBytes) && ::ftruncate(fd, kBytes) != 0) {
        const int e = errno;
        ::close(fd);
        errno = e;
        return fail("truncate");
    }
    void* p = ::mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED) {
        const int e = errno;
        ::close(fd);
        errno = e;
        return fail("mmap");
    }
    std::shared_ptr<VirtualCable> c(new VirtualCable);
    c->mapping_ = p;
    c->fd_ = fd;
    c->bytes_ = static_cast<std::uint8_t*>(p);
    c->path_ = path;
    return c;
}

bool VirtualCable::intact() const {
    if (fd_ < 0) return true;  // in memory
    if (cut_.load(std::memory_order_relaxed)) return false;
    struct stat st {};
    if (::fstat(fd_, &st) == 0 && st.st_size >= static_cast<off_t>(kBytes)) return true;
    cut_.store(true, std::memory_order_relaxed);
    return false;
}

std::shared_ptr<VirtualCable> VirtualCable::inMemory() {
    std::shared_ptr<VirtualCable> c(new VirtualCable);
    c->bytes_ = c->memory_;
    c->path_ = "(memory)";
    return c;
}

VirtualCable::~VirtualCable() {
    if (mapping_) ::munmap(mapping_, kBytes);
    if (fd_ >= 0) ::close(fd_);
}

VirtualPortIo::VirtualPortIo(std::shared_ptr<VirtualCable> cable, Side side, long accessNs,
                             std::string name)
    : cable_(std::move(cable)), side_(side), accessNs_(accessNs), name_(std::move(name)) {
    if (name_.empty()) name_ = "virtual:" + cable_->path();
}

std::string VirtualPortIo::openError() const {
    if (cable_->intact()) return {};
    return "虚拟电缆 " + cable_->path() + " 的文件被截短，连接中断";
}

void VirtualPortIo::pause(std::chrono::steady_clock::time_point start) const {
    if (accessNs_ <= 0) return;
    const auto until = start + std::chrono::nanoseconds(accessNs_);
    // Busily: sleeping would last far longer than a microsecond.
    while (std::chrono::steady_clock::now() < until) {
    }
}

std::uint8_t VirtualPortIo::readStatus() {
    const auto start = std::chrono::steady_clock::now();
    std::uint8_t status = 0;
    if (cable_->intact()) {
        if (cable_->rawLoad(VirtualCable::Plug) == 0) {
            const std::uint8_t other = cable_->rawLoad(
                side_ == Side::Pc ? VirtualCable::InstrumentData : VirtualCable::PcData);
            status = static_cast<std::uint8_t>((other & 0x1F) << 3);
            if (side_ == Side::Pc) cable_->counter(4).fetch_add(1, std::memory_order_seq_cst);
        }
        // The instrument's reads go on with the cable pulled: they tell that it runs.
        if (side_ == Side::Instrument)
            cable_->counter(12).fetch_add(1, std::memory_order_relaxed);
        else
            instrumentReads_ = cable_->counter(12).load(std::memory_order_relaxed);
    }
    // The other end is a process or thread of its own that needs a processor to
    // answer: while the lines stay still, give ours away now and then.
    if (status == lastStatus_) {
        if (++sameReads_ % 16 == 0) sched_yield();
    } else {
        lastStatus_ = status;
        sameReads_ = 0;
    }
    pause(start);
    return status;
}

bool VirtualPortIo::peerHeld() {
    if (side_ != Side::Pc) return false;
    if (!peer_.held(instrumentReads_, std::chrono::steady_clock::now())) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    return true;
}

void VirtualPortIo::writeData(std::uint8_t value) {
    const auto start = std::chrono::steady_clock::now();
    if (cable_->intact() && cable_->rawLoad(VirtualCable::Plug) == 0) {
        cable_->rawStore(side_ == Side::Pc ? VirtualCable::PcData : VirtualCable::InstrumentData,
                         value);
        if (side_ == Side::Pc) cable_->counter(8).fetch_add(1, std::memory_order_seq_cst);
    }
    pause(start);
}

void VirtualPortIo::writeControl(std::uint8_t value) {
    const auto start = std::chrono::steady_clock::now();
    if (side_ == Side::Pc && cable_->intact() && cable_->rawLoad(VirtualCable::Plug) == 0)
        cable_->rawStore(VirtualCable::PcControl, value);
    pause(start);
}

}  // namespace sondara
