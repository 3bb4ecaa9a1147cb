#pragma once
// A real parallel port through the Linux ppdev driver: the port is claimed while the
// object lives and released when it goes.
#include <memory>
#include <string>

#include "core/instrument/PortIo.h"

namespace sondara {

class PpdevPortIo : public PortIo {
public:
    // On failure (missing device, refused claim) the object reads 0 and writes nowhere.
    explicit PpdevPortIo(const std::string& device);
    ~PpdevPortIo() override;
    PpdevPortIo(const PpdevPortIo&) = delete;
    PpdevPortIo& operator=(const PpdevPortIo&) = delete;

    std::uint8_t readStatus() override;
    void writeData(std::uint8_t value) override;
    void writeControl(std::uint8_t value) override;
    std::string name() const override { return device_; }
    std::string openError() const override { return error_; }

private:
    std::string device_;
    std::string error_;
    int fd_ = -1;
    bool claimed_ = false;
};

}  // namespace sondara
