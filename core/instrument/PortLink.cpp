#include "core/instrument/PortLink.h"

namespace sondara {

namespace {
constexpr std::uint8_t kHandshakeIn = 0x80;   // status bit 7
constexpr std::uint8_t kHandshakeOut = 0x10;  // data bit 4
}  // namespace

bool PortLink::Reset() {
    io_.writeControl(0);
    io_.writeData(0);
    return true;
}

bool PortLink::waitHandshake(bool set) {
    for (int i = 0; i < kWaitReads;) {
        if (aborted()) return false;
        if (((readStatus() & kHandshakeIn) != 0) == set) return true;
        // A read made while the other end was not running tells nothing of it.
        if (!io_.peerHeld()) ++i;
    }
    return false;
}

int PortLink::SendBytes(int count, const std::uint8_t* bytes) {
    count = static_cast<std::int16_t>(count);
    int sent = 0;
    for (; sent < count; ++sent) {
        const std::uint8_t b = bytes[sent];
        if (!waitHandshake(true)) return sent;
        io_.writeData(static_cast<std::uint8_t>((b & 0x0F) | kHandshakeOut));
        if (!waitHandshake(false)) return sent;
        io_.writeData(static_cast<std::uint8_t>(b >> 4));
    }
    // The instrument raises its line again once it has taken the last high nibble. A
    // missing acknowledgement means the last byte may not have arrived.
    if (!waitHandshake(true)) return count > 0 ? count - 1 : count;
    return count;
}

int PortLink::ReceiveBytes(int count, std::uint8_t* out) {
    int got = 0;
    for (; got < count; ++got) {
        if (!waitHandshake(false)) return got;
        const std::uint8_t first = readStatus();
        io_.writeData(kHandshakeOut);
        if (!waitHandshake(true)) return got;
        const std::uint8_t second = readStatus();
        io_.writeData(0);
        out[got] = static_cast<std::uint8_t>(((second & 0xF8) << 1) | (first >> 3));
    }
    return got;
}

int PortLink::SendFrame(int length, const std::uint8_t* bytes) {
    if (length < 0) length = 0;
    if (length > kFrameBytes) length = kFrameBytes;
    const std::uint8_t header[kHeaderBytes] = {
        static_cast<std::uint8_t>(length & 0xFF), static_cast<std::uint8_t>(length >> 8),
        static_cast<std::uint8_t>(length & 0xFF), static_cast<std::uint8_t>(length >> 8)};
    const int h = SendBytes(kHeaderBytes, header);
    if (h == 0) return -1;
    if (h < kHeaderBytes) return -2;
    if (length > 0 && SendBytes(length, bytes) < length) return -2;
    return 1;
}

int PortLink::ReceiveFrame(int& length, std::uint8_t* buffer) {
    length = 0;
    std::uint8_t header[kHeaderBytes];
    const int h = ReceiveBytes(kHeaderBytes, header);
    if (h == 0) return -1;
    if (h < kHeaderBytes) return -2;
    const int first = static_cast<std::int16_t>(header[0] | (header[1] << 8));
    const int second = static_cast<std::int16_t>(header[2] | (header[3] << 8));
    if (first != second) return -3;
    // The buffer holds 4096 bytes; a negative length cannot be a payload either.
    if (first < 0 || first > kFrameBytes) return -2;
    if (first > 0 && ReceiveBytes(first, buffer) < first) return -2;
    length = first;
    return 1;
}

}  // namespace sondara
