#include <gtest/gtest.h>

#include <cstring>

#include "core/base/TextCodec.h"
#include "core/fileio/ResultFile.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

// Little-endian bytes written by hand, independent of the writer under test.
struct Bytes {
    std::string b;
    template <typename T>
    Bytes& le(T v) {
        char c[sizeof v];
        std::memcpy(c, &v, sizeof v);
        b.append(c, sizeof v);
        return *this;
    }
    Bytes& i16(int v) { return le(static_cast<std::int16_t>(v)); }
    Bytes& i32(int v) { return le(static_cast<std::int32_t>(v)); }
    Bytes& f32(float v) { return le(v); }
    Bytes& u8(int v) { return le(static_cast<std::uint8_t>(v)); }
    Bytes& blob(const std::string& t) {
        if (t.empty()) return i32(0);
        i32(static_cast<int>(t.size() + 1));
        b += t;
        b += '\0';
        return *this;
    }
};

TestPoint point(const char* pileNo, short gain) {
    TestPoint p = test::simplePoint(pileNo, 4);
    p.pileTypeIndex = 1;
    setText(p.pileTypeText, utf8ToGbk("钻孔灌注桩"));
    p.pileDiameter = 800;
    setText(p.testDateTime, "2026-11-03 09:41");
    setText(p.castingDate, "2026-09-01");
    p.sensorType = 1;
    p.gain = gain;
    p.triggerLevel = 3;
    p.spare104 = 77;
    p.pileLength = 12.5f;
    p.waveSpeed = 3800;
    p.sampleInterval = 20.0f;
    p.recordedLength = 4;
    p.integrityClass = 2;
    setText(p.remark, "");
    return p;
}

TEST(ResultFile, OnePileRecordPerRunOfEqualPileNumbers) {
    TestPoint a1 = point("A", 10), a2 = point("A", 11), b = point("B", 12);
    PileMark m;
    m.kind = 2;
    setText(m.name, utf8ToGbk("缩径"));
    m.depth = 4.25f;
    a1.defects = {m};
    m.kind = 100;
    setText(m.name, utf8ToGbk("自定义"));
    m.depth = 7.5f;
    a2.defects = {m, m};
    CSondaraDoc doc = test::makeDoc({a1, a2, b});
    setText(doc.info.testingUnit, utf8ToGbk("检测单位"));
    setText(doc.info.projectName, "");

    Bytes e;
    e.blob("MIR_QARR_V1.0").blob(utf8ToGbk("检测单位")).blob("").i32(2);
    auto pile = [&](const TestPoint& p, int points) {
        e.blob(std::string(textOf(p.pileNo))).i16(1).blob(utf8ToGbk("钻孔灌注桩")).i16(800);
        e.blob("2026-11-03 09:41").blob("2026-09-01").i16(1).i16(p.gain).i16(3).i32(77);
        e.f32(12.5f).i16(3800).f32(20.0f).i16(4).u8(2).blob("").i32(points);
    };
    pile(a1, 2);  // the fields of the first point of the pile
    e.i32(1).i32(2).blob(utf8ToGbk("缩径")).f32(4.25f);
    e.i32(2)
        .i32(100)
        .blob(utf8ToGbk("自定义"))
        .f32(7.5f)
        .i32(100)
        .blob(utf8ToGbk("自定义"))
        .f32(7.5f);
    pile(b, 1);  // a last pile of a single point
    e.i32(0);

    test::TempDir dir;
    const std::string path = dir.file("out.rpc");
    std::string error;
    ASSERT_TRUE(WriteResultFile(doc, path, &error)) << error;
    EXPECT_EQ(test::readFile(path), e.b);
}

TEST(ResultFile, EmptyProjectAndUnwritablePath) {
    CSondaraDoc doc = test::makeDoc({});
    setText(doc.info.testingUnit, "");
    setText(doc.info.projectName, "p");
    ByteWriter w;
    writeResult(w, doc);
    EXPECT_EQ(w.buffer(), Bytes().blob("MIR_QARR_V1.0").blob("").blob("p").i32(0).b);

    test::TempDir dir;
    std::string error;
    EXPECT_FALSE(WriteResultFile(doc, dir.file("missing/out.rpc"), &error));
    EXPECT_FALSE(error.empty());
}

TEST(TextBlob, WriteAndBoundedRead) {
    ByteWriter w;
    writeTextBlob(w, "");
    writeTextBlob(w, "abc");
    EXPECT_EQ(w.buffer(), std::string("\0\0\0\0\4\0\0\0abc\0", 12));

    const std::string bytes = w.buffer();
    ByteReader r(memorySource(bytes));
    std::string t = "x";
    ASSERT_TRUE(readTextBlob(r, t));
    EXPECT_EQ(t, "");
    ASSERT_TRUE(readTextBlob(r, t));
    EXPECT_EQ(t, "abc");

    for (int n : {-1, 1025, 0x7fffffff}) {
        std::string bad = Bytes().i32(n).b + std::string(2000, 'x');
        ByteReader rb(memorySource(bad));
        EXPECT_FALSE(readTextBlob(rb, t)) << n;
    }
    std::string full = Bytes().i32(1024).b + std::string(1023, 'y') + '\0';
    ByteReader rf(memorySource(full));
    ASSERT_TRUE(readTextBlob(rf, t));
    EXPECT_EQ(t.size(), 1023u);
    std::string shortBlob = Bytes().i32(10).b + "abc";
    ByteReader rs(memorySource(shortBlob));
    EXPECT_FALSE(readTextBlob(rs, t));
}

}  // namespace
}  // namespace sondara
