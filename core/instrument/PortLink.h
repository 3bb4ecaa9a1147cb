#pragma once
// The byte link to the instrument over the parallel port: bytes go four bits at a
// time with a handshake on one line, and byte runs are packed into frames of at most
// 4096 bytes, each preceded by its length twice.
//
// Wire (as the PC sees its registers): status bit 7 is the instrument's handshake
// line and status bits 3..6 carry a nibble from it; data bits 0..3 carry a nibble to
// the instrument and data bit 4 is the PC's handshake line.
//
// Timing is counted in status reads, not in clock time: every wait gives up after
// 64,000 reads (about 64 ms on a real port); reads made while the port says the
// other end is held up (an emulated instrument whose program is not running) do not
// count. Every wait also ends at once when
// `abort()` was called, so a transfer can always be stopped within one status read.
//
// Used by one thread at a time; `abort()` and `clearAbort()` may be called from any.
#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "core/instrument/PortIo.h"

namespace sondara {

class PortLink {
public:
    static constexpr int kWaitReads = 64000;  // status reads per handshake wait
    static constexpr int kFrameBytes = 4096;  // the largest frame payload
    static constexpr int kHeaderBytes = 4;

    explicit PortLink(PortIo& io) : io_(io) {}
    virtual ~PortLink() = default;
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;

    // Returns the lines to idle: 0 to the control register, then 0 to the data register.
    bool Reset();
    // Sends `count` bytes (a signed 16-bit count); returns how many went out completely.
    // The last byte counts only once the instrument acknowledged its high nibble.
    int SendBytes(int count, const std::uint8_t* bytes);
    // Receives up to `count` bytes into `out`; returns how many arrived.
    int ReceiveBytes(int count, std::uint8_t* out);
    // 1 on success, -1 when not even the header was accepted, -2 when the header or
    // the payload went out incomplete. `length` is 0..4096.
    int SendFrame(int length, const std::uint8_t* bytes);
    // 1 on success with the payload in `buffer` (4096 bytes) and its length in `length`;
    // -1 no header byte arrived, -2 header or payload incomplete (or more than 4096
    // bytes announced), -3 the two length copies of the header differ.
    int ReceiveFrame(int& length, std::uint8_t* buffer);

    const std::string& StatusText() const { return statusText_; }

    // Makes every wait end at once (and so every exchange fail) until clearAbort().
    void abort() { abort_.store(true, std::memory_order_relaxed); }
    void clearAbort() { abort_.store(false, std::memory_order_relaxed); }
    bool aborted() const { return abort_.load(std::memory_order_relaxed); }

    PortIo& io() { return io_; }
    // Status reads made so far (for measurements).
    std::uint64_t statusReads() const { return reads_; }

protected:
    std::string statusText_;
    std::array<std::uint8_t, kFrameBytes> frame_{};

private:
    std::uint8_t readStatus() {
        ++reads_;
        return io_.readStatus();
    }
    // Reads the status until bit 7 is set (or clear); false after kWaitReads reads or abort.
    bool waitHandshake(bool set);

    PortIo& io_;
    std::atomic<bool> abort_{false};
    std::uint64_t reads_ = 0;
};

}  // namespace sondara
