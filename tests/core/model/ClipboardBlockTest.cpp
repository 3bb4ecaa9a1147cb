#include <gtest/gtest.h>

#include <cstring>

#include "core/base/TextCodec.h"
#include "core/model/ClipboardBlock.h"
#include "support/Fixtures.h"

namespace sondara {
namespace {

ListSnapshot pileSnapshot() {
    ListSnapshot s;
    s.op = 0;
    s.mode = 2;
    s.anchor = 3;
    s.position = 5;
    setVersionTag(s.header, "QAR16");
    s.header.pointCount = 2;
    setText(s.header.testingUnit, utf8ToGbk("检测单位"));
    setText(s.header.projectName, "project");
    setText(s.header.extraInfo, "extra info");
    s.points = {test::fullPoint(1, "P7"), test::fullPoint(2, "P7")};
    s.points[1].sourceIndex = 4;
    return s;
}

std::int32_t i32At(const std::string& b, std::size_t off) {
    std::int32_t v;
    std::memcpy(&v, b.data() + off, 4);
    return v;
}

void putI32(std::string& b, std::size_t off, std::int32_t v) {
    std::memcpy(b.data() + off, &v, 4);
}

// Bytes of one point's arrays after its 1440-byte image.
std::size_t arrayBytes(const TestPoint& p) {
    return 4 * (p.rawSamples.size() + p.samples.size() + p.spectrumMarks.size() +
                p.correlationMarks.size() + 2 * p.waveletMarkPositions.size()) +
           1112 * p.steps.size() + 164 * p.defects.size();
}

TEST(ClipboardBlock, RoundTripKeepsEverything) {
    ListSnapshot s = pileSnapshot();
    std::string b = EncodeClipboardBlock(s);
    ASSERT_EQ(b.size(), 240 + 2 * 1440 + arrayBytes(s.points[0]) + arrayBytes(s.points[1]));
    auto d = DecodeClipboardBlock(b);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->op, 0);
    EXPECT_EQ(d->mode, 2);
    EXPECT_EQ(d->anchor, 3);
    EXPECT_EQ(d->position, 5);
    EXPECT_EQ(d->header, s.header);
    EXPECT_EQ(d->points, s.points);
    EXPECT_EQ(ClipboardBlockPointCount(b), 2);
}

TEST(ClipboardBlock, FieldsSitAtTheirOffsets) {
    ListSnapshot s = pileSnapshot();
    std::string b = EncodeClipboardBlock(s);
    const TestPoint& p = s.points[0];
    // head
    EXPECT_EQ(i32At(b, 4), 2);
    EXPECT_EQ(i32At(b, 8), 0);  // where the array address was
    EXPECT_EQ(i32At(b, 12), 2);
    EXPECT_EQ(i32At(b, 16), 3);
    EXPECT_EQ(i32At(b, 20), 5);
    EXPECT_EQ(b.substr(24, 5), "QAR16");
    EXPECT_EQ(i32At(b, 32), 2);
    EXPECT_EQ(b.substr(36, 8), utf8ToGbk("检测单位"));
    EXPECT_EQ(b.substr(86, 7), "project");
    EXPECT_EQ(b.substr(138, 10), "extra info");
    // first point image
    const std::size_t q = 240;
    EXPECT_EQ(b.substr(q + 2, 2), "P7");
    EXPECT_EQ(i32At(b, q + 104), p.spare104);
    float f;
    std::memcpy(&f, b.data() + q + 116, 4);
    EXPECT_EQ(f, p.sampleInterval);
    EXPECT_EQ(static_cast<std::uint8_t>(b[q + 126]), p.integrityClass);
    EXPECT_EQ(b.substr(q + 127, 16), "2026-09-01 08:00");
    EXPECT_EQ(i32At(b, q + 200), p.rawCount());
    EXPECT_EQ(i32At(b, q + 208), p.sampleCount());
    EXPECT_EQ(i32At(b, q + 216), p.stepCount());
    EXPECT_EQ(i32At(b, q + 224), p.lastParams.kind);
    EXPECT_EQ(i32At(b, q + 1336), p.defectCount());
    EXPECT_EQ(i32At(b, q + 1344), 2);  // spectrum marks
    EXPECT_EQ(i32At(b, q + 1352), 1);  // correlation marks
    EXPECT_EQ(i32At(b, q + 1360), 2);  // wavelet marks
    EXPECT_EQ(i32At(b, q + 1372), p.checked);
    EXPECT_EQ(i32At(b, q + 1376), p.headSetFlag);
    EXPECT_EQ(i32At(b, q + 1384), p.sourceIndex);
    EXPECT_EQ(b.substr(q + 1388, 5), "extra");
    // the arrays follow the image: raw samples first, the wavelet positions last
    std::memcpy(&f, b.data() + q + 1440, 4);
    EXPECT_EQ(f, p.rawSamples[0]);
    const std::size_t second = q + 1440 + arrayBytes(p);
    EXPECT_EQ(i32At(b, second - 4), p.waveletMarkPositions[1]);
    EXPECT_EQ(i32At(b, second - 12), p.waveletMarkPanes[1]);
}

TEST(ClipboardBlock, EveryTruncationIsRejected) {
    std::string b = EncodeClipboardBlock(pileSnapshot());
    for (std::size_t n = 0; n < b.size(); ++n) {
        std::string_view cut(b.data(), n);
        ASSERT_FALSE(DecodeClipboardBlock(cut)) << n;
        ASSERT_EQ(ClipboardBlockPointCount(cut), -1) << n;
    }
    std::string longer = b + std::string(64, '\xAB');  // a memory block may be larger
    auto d = DecodeClipboardBlock(longer);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->count(), 2);
}

TEST(ClipboardBlock, HostileCountsAreRejectedBeforeAnythingIsAllocated) {
    const std::string good = EncodeClipboardBlock(pileSnapshot());
    const std::size_t q = 240;
    const std::size_t q2 = q + 1440 + arrayBytes(pileSnapshot().points[0]);  // second point
    struct Case {
        const char* name;
        std::size_t offset;
        std::int32_t value;
    };
    const Case cases[] = {
        {"no points", 4, 0},
        {"negative point count", 4, -1},
        {"huge point count", 4, 0x7fffffff},
        {"more points than the bytes hold", 4, 3},
        {"too many points", 4, 9999},
        {"unknown mode", 12, 3},
        {"one-point mode with two points", 12, 1},
        {"negative raw count", q + 200, -5},
        {"raw count beyond the block", q + 200, 9999},
        {"raw count out of range", q + 200, 10000},
        {"huge step count", q + 216, 0x40000000},
        {"negative defect count", q + 1336, -1},
        {"wavelet count beyond the block", q + 1360, 5000},
        {"sample count of the second point", q2 + 208, 9000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string b = good;
        putI32(b, c.offset, c.value);
        EXPECT_FALSE(DecodeClipboardBlock(b));
        EXPECT_EQ(ClipboardBlockPointCount(b), -1);
    }
}

TEST(ClipboardBlock, ASinglePointBlockInModeOne) {
    ListSnapshot s;
    s.mode = 1;
    s.anchor = 0;
    s.points = {test::simplePoint("A", 0)};  // no arrays at all
    std::string b = EncodeClipboardBlock(s);
    EXPECT_EQ(b.size(), 240u + 1440u);
    auto d = DecodeClipboardBlock(b);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->points, s.points);
}

}  // namespace
}  // namespace sondara
