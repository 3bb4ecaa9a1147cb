#include "core/instrument/InstrumentLink.h"

#include <thread>

namespace sondara {

namespace {
using Clock = std::chrono::steady_clock;
constexpr std::uint8_t kLine = 0x80;
}  // namespace

bool InstrumentLink::expired(Clock::time_point now, Clock::time_point& limit) {
    const bool held = cable_ && cable_->plugged() && pc_.held(cable_->pcReads(), now);
    if (now < limit) return false;
    if (!held) return true;
    limit = now + std::chrono::milliseconds(20);
    return false;
}

bool InstrumentLink::waitLine(bool set, Clock::time_point limit, bool idle) {
    for (unsigned spins = 0;; ++spins) {
        if (stopped()) return false;
        if (((io_.readStatus() & kLine) != 0) == set) return true;
        if ((spins & 63) == 0 && expired(Clock::now(), limit)) return false;
        // The PC needs the processor to answer: give it away while waiting.
        if ((spins & 63) == 63) std::this_thread::yield();
        // While nothing happens for a long time, poll gently instead of spinning:
        // the PC waits tens of milliseconds for each handshake.
        if (idle && spins > 20000) std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
}

int InstrumentLink::receiveByte(std::uint8_t& b, Clock::time_point limit, bool idle) {
    if (!waitLine(true, limit, idle)) return 0;
    const std::uint8_t low = (io_.readStatus() >> 3) & 0x0F;
    io_.writeData(0x00);
    if (!waitLine(false, Clock::now() + byteTimeout)) return -1;
    const std::uint8_t high = (io_.readStatus() >> 3) & 0x0F;
    io_.writeData(0x10);
    // A read that began before the write may still see the old line: two more.
    if (cable_) ackSeenAt_ = cable_->pcReads() + 2;
    ackPending_ = true;
    b = static_cast<std::uint8_t>(low | (high << 4));
    return 1;
}

int InstrumentLink::receiveFrame(std::vector<std::uint8_t>& payload,
                                 std::chrono::milliseconds idle) {
    payload.clear();
    std::uint8_t h[4];
    const int first = receiveByte(h[0], Clock::now() + idle, true);
    if (first <= 0) {
        if (first < 0) setReady();
        return first;
    }
    for (int i = 1; i < 4; ++i) {
        if (receiveByte(h[i], Clock::now() + byteTimeout, false) != 1) {
            setReady();
            return -1;
        }
    }
    const int l1 = static_cast<std::int16_t>(h[0] | (h[1] << 8));
    const int l2 = static_cast<std::int16_t>(h[2] | (h[3] << 8));
    if (l1 != l2) return -3;
    if (l1 < 0 || l1 > 4096) return -1;
    payload.resize(static_cast<std::size_t>(l1));
    for (int i = 0; i < l1; ++i) {
        if (receiveByte(payload[i], Clock::now() + byteTimeout, false) != 1) {
            setReady();
            return -1;
        }
    }
    return 1;
}

void InstrumentLink::awaitAckSeen() {
    if (!ackPending_) return;
    ackPending_ = false;
    if (!cable_) {
        std::this_thread::sleep_for(turnaround);
        return;
    }
    auto until = Clock::now() + byteTimeout;
    for (unsigned spins = 0; static_cast<std::int32_t>(cable_->pcReads() - ackSeenAt_) < 0;
         ++spins) {
        if (stopped() || !cable_->plugged()) return;
        if ((spins & 63) == 0 && expired(Clock::now(), until)) return;
        if ((spins & 63) == 63) std::this_thread::yield();
    }
}

int InstrumentLink::sendByte(std::uint8_t b, bool last) {
    const auto limit = [this] { return Clock::now() + byteTimeout; };
    if (!waitLine(false, limit())) return -1;
    io_.writeData(b & 0x0F);
    if (!waitLine(true, limit())) return -1;
    const std::uint32_t writes = cable_ ? cable_->pcWrites() : 0;
    io_.writeData(static_cast<std::uint8_t>((b >> 4) | 0x10));
    // The PC lowers its line after taking the high nibble. After the last byte of a
    // frame the PC may go on to send at once, so its low line may stand only briefly:
    // with the cable's counts any write of the PC's tells; without them, its new low
    // nibble with the line high shows as a status other than the bare acknowledgement.
    auto until = limit();
    for (unsigned spins = 0;; ++spins) {
        if (stopped()) return -1;
        if (cable_ && cable_->pcWrites() != writes) break;
        const std::uint8_t s = io_.readStatus();
        if ((s & kLine) == 0) break;
        if (last && !cable_ && s != kLine) break;
        if ((spins & 63) == 0 && expired(Clock::now(), until)) return -1;
        if ((spins & 63) == 63) std::this_thread::yield();
    }
    ++sent_;
    if (onByteSent) onByteSent(sent_);
    return 1;
}

int InstrumentLink::sendFrame(const std::uint8_t* bytes, int length, int length2, bool headerOnly) {
    awaitAckSeen();
    const std::uint8_t h[4] = {static_cast<std::uint8_t>(length & 0xFF),
                               static_cast<std::uint8_t>((length >> 8) & 0xFF),
                               static_cast<std::uint8_t>(length2 & 0xFF),
                               static_cast<std::uint8_t>((length2 >> 8) & 0xFF)};
    for (int i = 0; i < 4; ++i)
        if (sendByte(h[i], (length == 0 || headerOnly) && i == 3) != 1) {
            setReady();
            return -1;
        }
    if (headerOnly) return 1;
    for (int i = 0; i < length; ++i)
        if (sendByte(bytes[i], i == length - 1) != 1) {
            setReady();
            return -1;
        }
    return 1;
}

}  // namespace sondara
