#include "core/instrument/PpdevPortIo.h"

#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sondara {

PpdevPortIo::PpdevPortIo(const std::string& device) : device_(device) {
    fd_ = ::open(device.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = "无法打开并口 " + device + "：" + std::strerror(errno);
        return;
    }
    if (::ioctl(fd_, PPCLAIM) != 0) {
        error_ = "无法占用并口 " + device + "：" + std::strerror(errno);
        ::close(fd_);
        fd_ = -1;
        return;
    }
    claimed_ = true;
    // The link drives the data lines itself: make sure they are outputs.
    int forward = 0;
    ::ioctl(fd_, PPDATADIR, &forward);
}

PpdevPortIo::~PpdevPortIo() {
    if (fd_ >= 0) {
        if (claimed_) ::ioctl(fd_, PPRELEASE);
        ::close(fd_);
    }
}

std::uint8_t PpdevPortIo::readStatus() {
    if (fd_ < 0) return 0;
    unsigned char v = 0;
    if (::ioctl(fd_, PPRSTATUS, &v) != 0) return 0;
    return v;
}

void PpdevPortIo::writeData(std::uint8_t value) {
    if (fd_ < 0) return;
    unsigned char v = value;
    ::ioctl(fd_, PPWDATA, &v);
}

void PpdevPortIo::writeControl(std::uint8_t value) {
    if (fd_ < 0) return;
    unsigned char v = value;
    ::ioctl(fd_, PPWCONTROL, &v);
}

}  // namespace sondara
