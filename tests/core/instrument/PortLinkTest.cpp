// The byte and frame layer of the link, against an instrument simulated inside the
// register accesses.
#include <gtest/gtest.h>

#include "core/instrument/PortLink.h"
#include "tests/core/instrument/ScriptedInstrument.h"

namespace sondara {
namespace {

using test::frameBytes;
using test::ScriptedInstrument;

TEST(PortLink, SendsTextFrameAsNibblesLowWithHandshakeThenHigh) {
    ScriptedInstrument port;
    PortLink link(port);
    const std::uint8_t hi[] = {'H', 'I'};
    EXPECT_EQ(link.SendFrame(2, hi), 1);
    // 02 00 02 00 48 49, each byte as low nibble | 0x10 then high nibble.
    const std::vector<std::uint8_t> wire = {0x12, 0x00, 0x10, 0x00, 0x12, 0x00, 0x10, 0x00,
                                            0x18, 0x04, 0x19, 0x04};
    EXPECT_EQ(port.dataWrites, wire);
    ASSERT_EQ(port.received.size(), 1u);
    EXPECT_EQ(port.received[0], "HI");
}

TEST(PortLink, ReceivesFramesAndRejectsBadHeaders) {
    ScriptedInstrument port;
    PortLink link(port);
    std::vector<std::uint8_t> buf(PortLink::kFrameBytes);
    int length = -1;

    port.queue(frameBytes("BEGIN4338"));
    EXPECT_EQ(link.ReceiveFrame(length, buf.data()), 1);
    EXPECT_EQ(std::string(buf.begin(), buf.begin() + length), "BEGIN4338");

    port.queue(frameBytes("", 0));  // an empty frame is a frame
    EXPECT_EQ(link.ReceiveFrame(length, buf.data()), 1);
    EXPECT_EQ(length, 0);

    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        int result;
    };
    const Case cases[] = {
        {"nothing", {}, -1},
        {"half a header", {0x02, 0x00}, -2},
        {"differing copies", frameBytes("XY", 3), -3},
        {"short payload", {0x05, 0x00, 0x05, 0x00, 'a', 'b'}, -2},
        {"more than 4096", {0x01, 0x10, 0x01, 0x10}, -2},
        {"negative length", {0xFF, 0xFF, 0xFF, 0xFF}, -2},
    };
    for (const Case& c : cases) {
        ScriptedInstrument p;
        PortLink l(p);
        p.queue(c.bytes);
        EXPECT_EQ(l.ReceiveFrame(length, buf.data()), c.result) << c.what;
    }
}

TEST(PortLink, NothingConnectedTimesOutAfterCountedReads) {
    ScriptedInstrument port;
    port.plugged = false;
    PortLink link(port);
    const std::uint8_t b[] = {1, 2, 3};
    EXPECT_EQ(link.SendFrame(3, b), -1);
    EXPECT_EQ(port.statusReads, PortLink::kWaitReads);
    EXPECT_EQ(link.SendBytes(3, b), 0);
}

TEST(PortLink, AbortEndsEveryWaitAtOnce) {
    ScriptedInstrument port;  // says nothing
    PortLink link(port);
    link.abort();
    std::uint8_t buf[PortLink::kFrameBytes];
    int length = 0;
    EXPECT_EQ(link.ReceiveFrame(length, buf), -1);
    EXPECT_EQ(port.statusReads, 0);
    link.clearAbort();
    EXPECT_EQ(link.ReceiveFrame(length, buf), -1);
    EXPECT_EQ(port.statusReads, PortLink::kWaitReads);
}

TEST(PortLink, ResetWritesControlThenDataZero) {
    ScriptedInstrument port;
    PortLink link(port);
    EXPECT_TRUE(link.Reset());
    EXPECT_EQ(port.dataWrites, std::vector<std::uint8_t>{0});
}

}  // namespace
}  // namespace sondara
