#pragma once
// The three registers of a parallel port as the link sees them: the status register
// is read, the data and control registers are written. Values are 8-bit.
//
// Backends: Linux ppdev ("/dev/parportN") and the virtual cable ("virtual:PATH"),
// which an instrument emulator serves. `OpenPortIo` picks one from a port text, the
// environment variable SONDARA_PARPORT or the default "/dev/parport0".
//
// A port that could not be opened still works as a port with nothing connected
// (status reads 0, writes go nowhere), so every exchange fails in the usual way;
// `openError()` says which port was tried and why it could not be opened.
// A PortIo is used by one thread at a time.
#include <cstdint>
#include <memory>
#include <string>

namespace sondara {

class PortIo {
public:
    virtual ~PortIo() = default;
    virtual std::uint8_t readStatus() = 0;
    virtual void writeData(std::uint8_t value) = 0;
    virtual void writeControl(std::uint8_t value) = 0;
    // The port text it was opened from ("/dev/parport0", "virtual:/tmp/cable").
    virtual std::string name() const = 0;
    // Empty when the port is usable; otherwise one line (UTF-8) naming the port and the
    // reason it could not be opened.
    virtual std::string openError() const { return {}; }
    // True when the other end is known to be held up (not running) at this moment, so
    // that a status read now tells nothing and should not count toward a wait. Only
    // an emulated instrument can be held up; a real one never is.
    virtual bool peerHeld() { return false; }
};

// Status reads 0 and writes go nowhere: nothing is connected.
class NullPortIo : public PortIo {
public:
    NullPortIo(std::string name, std::string error)
        : name_(std::move(name)), error_(std::move(error)) {}
    std::uint8_t readStatus() override { return 0; }
    void writeData(std::uint8_t) override {}
    void writeControl(std::uint8_t) override {}
    std::string name() const override { return name_; }
    std::string openError() const override { return error_; }

private:
    std::string name_, error_;
};

inline constexpr const char* kDefaultParport = "/dev/parport0";

// The port to use: `port` when not empty, else $SONDARA_PARPORT, else "/dev/parport0".
std::string ResolvePortName(const std::string& port = {});

// Opens the PC side of the named port (see ResolvePortName). Never null.
std::unique_ptr<PortIo> OpenPortIo(const std::string& port = {});

}  // namespace sondara
