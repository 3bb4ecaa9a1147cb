#pragma once
// The instrument's end of the byte link (the mirror of PortLink), for the emulator.
//
// The instrument keeps its handshake line (data bit 4) high while it is ready to take
// a byte. To take a byte it reads the low nibble when the PC raises its line, lowers
// its own, reads the high nibble when the PC lowers its line and raises its own again.
// To give a byte it waits for the PC's line to be low, puts the low nibble out with
// its line low, waits for the PC to raise its line, puts the high nibble out with its
// line high and waits for the PC to lower its line.
//
// Waits inside a frame are bounded in clock time, not counting the time the PC's
// program was held up by the machine (seen on the virtual cable's read count, up to
// a few seconds); waiting for the next command is not bounded, but ends when stop()
// is called. One thread uses a link; stop() may be called
// from any.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/instrument/PortIo.h"
#include "core/instrument/VirtualCable.h"

namespace sondara {

class InstrumentLink {
public:
    // With the virtual cable the link follows the PC's read and write counts, which
    // makes the turn from receiving to answering exact; without it a pause stands in.
    explicit InstrumentLink(PortIo& io, std::shared_ptr<VirtualCable> cable = nullptr)
        : io_(io), cable_(std::move(cable)) {}

    // Raises the handshake line: ready for the PC.
    void setReady() { io_.writeData(0x10); }

    // Waits for a frame from the PC. 1 with the payload; 0 when `idle` passed without
    // the first byte (or stop() was called); -1 when the frame broke off (lines are
    // then ready again); -3 when the length copies differ.
    int receiveFrame(std::vector<std::uint8_t>& payload, std::chrono::milliseconds idle);
    // Sends a frame; `length2` is the second length copy (normally the length);
    // `headerOnly` stops after the header. 1 on success, -1 when the PC stopped
    // taking bytes.
    int sendFrame(const std::uint8_t* bytes, int length, int length2, bool headerOnly = false);
    int sendFrame(const std::vector<std::uint8_t>& bytes) {
        return sendFrame(bytes.data(), static_cast<int>(bytes.size()),
                         static_cast<int>(bytes.size()));
    }

    void stop() { stop_.store(true); }
    bool stopped() const { return stop_.load(); }

    // Called after every byte sent, with the count so far (fault injection).
    std::function<void(std::uint64_t)> onByteSent;
    std::uint64_t bytesSent() const { return sent_; }

    // How long a wait inside a frame lasts before the frame counts as broken off.
    std::chrono::milliseconds byteTimeout{500};
    // Without cable counts: the pause between taking a frame and answering it, during
    // which the PC is to read the acknowledgement of its last nibble.
    std::chrono::microseconds turnaround{2000};

private:
    // Waits until status bit 7 equals `set`; false after `limit` or stop().
    bool waitLine(bool set, std::chrono::steady_clock::time_point limit, bool idle = false);
    int receiveByte(std::uint8_t& b, std::chrono::steady_clock::time_point limit, bool idle);
    int sendByte(std::uint8_t b, bool last);

    // Before answering: waits until the PC has read the acknowledgement of its last byte.
    void awaitAckSeen();
    // Whether a wait that reached `limit` at `now` is over. While the PC is held up the
    // limit moves on, so the PC gets its time once it runs again.
    bool expired(std::chrono::steady_clock::time_point now,
                 std::chrono::steady_clock::time_point& limit);

    PortIo& io_;
    std::shared_ptr<VirtualCable> cable_;
    std::uint32_t ackSeenAt_ = 0;  // the PC read count by which the acknowledgement is seen
    bool ackPending_ = false;
    PeerWatch pc_;
    std::atomic<bool> stop_{false};
    std::uint64_t sent_ = 0;
};

}  // namespace sondara
