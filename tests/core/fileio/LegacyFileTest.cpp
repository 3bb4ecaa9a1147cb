// The four oldest data file versions: field layout, the chains built from their
// stored processing parameters, bad input, and conversion to the current version.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "core/base/TextCodec.h"
#include "core/fileio/LegacyFile.h"
#include "core/fileio/ProjectFile.h"
#include "core/model/NameLists.h"
#include "core/processing/ProcessingChain.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

// ---- a writer of legacy files from field values ---------------------------------------

// Ignored bytes are written with this value, so a reader that is off by a few bytes
// picks up obviously wrong numbers.
constexpr unsigned char kFiller = 0x5A;

using test::Bytes;

struct LegacyMark {
    int kind;
    float depth;
};

// One legacy point record as the old instruments stored it. Texts are UTF-8 here and
// stored as GBK (codes 1, 2, 3) or UTF-16LE (code 5).
struct LegacyPoint {
    int spare0 = 17;
    std::string pileNo = "P-7";
    int pileTypeIndex = 3, pileDiameter = 800;
    std::string testDateTime = "2003-05-06 10:20";
    int sensorType = 1, gain = 12, triggerLevel = 4;
    std::int32_t spare104 = 0x01020304;
    int integrate = 0, passes = 0, frontZero = 0, backZero = 0, shift = 0;
    std::int32_t checked = 1;                         // code 3
    int displayScale = 0;                             // code 3
    std::vector<std::tuple<float, int, int>> scales;  // code 3
    std::optional<std::int32_t> scaleCount;           // code 3, overrides scales.size()
    float pileLength = 10.0f;
    int waveSpeed = 4000;
    float sampleInterval = 20.0f;
    std::optional<int> recordedLength;  // default: samples.size()
    int ampLaw = 0;
    float ampFactor = 1.0f, ampStartDepth = 0.0f, lowPassKHz = 0.0f, highPassKHz = 0.0f;
    int rotation = 0;
    int headIndex = 10;
    std::vector<LegacyMark> marks;  // at most 10; the rest are written as kind 0
    int smooth = 0;
    std::vector<float> samples = std::vector<float>(64, 0.0f);
    std::vector<int> spectrumMarks;
    std::optional<int> spectrumCount;  // overrides spectrumMarks.size()
};

std::string legacyRecord(int code, const LegacyPoint& p) {
    Bytes b;
    b.i16(p.spare0);
    if (code == 5)
        b.utf16(p.pileNo, 20);
    else
        b.text(utf8ToGbk(p.pileNo), 10);
    b.i16(p.pileTypeIndex).i16(p.pileDiameter).text(p.testDateTime, 20);
    b.i16(p.sensorType).i16(p.gain).i16(p.triggerLevel).i32(p.spare104);
    if (code == 1) {
        b.fill(50, static_cast<char>(kFiller));
    } else {
        b.i16(p.integrate).i16(p.passes).i16(p.frontZero).i16(p.backZero).i16(p.shift);
        if (code == 3) {
            b.i32(p.checked).fill(2, static_cast<char>(kFiller)).i16(p.displayScale);
            b.i32(p.scaleCount.value_or(static_cast<std::int32_t>(p.scales.size())));
            for (auto [f, first, last] : p.scales) b.f32(f).i16(first).i16(last);
        }
        b.fill(40, static_cast<char>(kFiller));
    }
    b.f32(p.pileLength).i16(p.waveSpeed).f32(p.sampleInterval);
    b.i16(p.recordedLength.value_or(static_cast<int>(p.samples.size())));
    b.i16(p.ampLaw).f32(p.ampFactor).f32(p.ampStartDepth).f32(p.lowPassKHz).f32(p.highPassKHz);
    b.i16(p.rotation).i16(p.headIndex).fill(2, static_cast<char>(kFiller));
    for (std::size_t i = 0; i < 10; ++i) {
        if (i < p.marks.size())
            b.i16(p.marks[i].kind).f32(p.marks[i].depth);
        else
            b.i16(0).f32(3.5f);  // empty pairs may still carry a depth
    }
    b.fill(12, static_cast<char>(kFiller)).i16(p.smooth).fill(36, static_cast<char>(kFiller));
    for (float v : p.samples) b.f32(v);
    b.i16(p.spectrumCount.value_or(static_cast<int>(p.spectrumMarks.size())));
    for (int v : p.spectrumMarks) b.i16(v);
    return b.s;
}

std::string legacyHeader(int code, int count, const std::string& unit = "检测单位",
                         const std::string& name = "工程") {
    static const char* kTags[] = {"", "CWH01", "QAR02", "QAR03", "", "QAR05"};
    Bytes b;
    b.text(kTags[code], 5).i16(count);
    if (code == 5)
        b.utf16(unit, 50).utf16(name, 50);
    else
        b.text(utf8ToGbk(unit), 50).text(utf8ToGbk(name), 20);
    return b.s;
}

std::string legacyFile(int code, const std::vector<LegacyPoint>& pts,
                       std::optional<int> declared = {}) {
    std::string s = legacyHeader(code, declared.value_or(static_cast<int>(pts.size())));
    for (const LegacyPoint& p : pts) s += legacyRecord(code, p);
    return s;
}

std::string readBytes(CSondaraDoc& d, const std::string& bytes, std::string* warning = nullptr) {
    ByteReader r(memorySource(bytes));
    return ReadProject(d, r, "legacy.qar", warning);
}

// Reads a one-point file and returns its point (fails the test otherwise).
TestPoint readOne(int code, const LegacyPoint& lp) {
    CSondaraDoc d;
    std::string msg = readBytes(d, legacyFile(code, {lp}));
    EXPECT_EQ(msg, "");
    EXPECT_EQ(d.pointCount(), 1);
    return d.points.empty() ? TestPoint{} : d.points[0];
}

std::vector<int> kindsOf(const TestPoint& p) {
    std::vector<int> k;
    for (const ProcessStep& s : p.steps) k.push_back(s.kind);
    return k;
}

constexpr int kShift = 11, kFilter = 3, kSimpleIntegrate = 26, kFrontZero = 9, kBackZero = 10,
              kAmplify = 13, kRotate = 12, kSmooth = 7, kIntegrate = 1, kLocalScale = 16;

// The processed trace must always be the raw trace through the stored chain.
void expectReplayed(const TestPoint& p) {
    TestPoint q = p;
    ReplayChain(q);
    EXPECT_EQ(q.samples, p.samples);
}

std::vector<float> wave(int n, float offset) {
    std::vector<float> v(n);
    for (int i = 0; i < n; ++i) v[i] = offset + 3.0f * static_cast<float>(std::sin(0.37 * i));
    return v;
}

// ---- fields ---------------------------------------------------------------------------

TEST(LegacyFile, FieldsOfEveryVersion) {
    for (int code : {1, 2, 3, 5}) {
        SCOPED_TRACE(code);
        LegacyPoint lp;
        lp.pileNo = code == 5 ? "桩A-1  " : "桩A-1";
        lp.samples = {1.5f, -2.0f, 3.25f, 4.0f};  // too short for any step
        lp.spectrumMarks = {5, -7, 300};
        lp.marks = {{2, 2.0f}, {0, 1.0f}, {9, 1.5f}, {7, -0.5f}};
        CSondaraDoc d;
        ASSERT_EQ(readBytes(d, legacyHeader(code, 1, "某检测中心  ", "大桥工程") +
                                   legacyRecord(code, lp)),
                  "");
        EXPECT_EQ(gbkToUtf8(textOf(d.info.testingUnit)), code == 5 ? "某检测中心" : "某检测中心  ");
        EXPECT_EQ(gbkToUtf8(textOf(d.info.projectName)), "大桥工程");
        EXPECT_EQ(d.info.pointCount, 1);
        ASSERT_EQ(d.pointCount(), 1);
        const TestPoint& p = d.points[0];
        EXPECT_EQ(p.spare0, 17);
        EXPECT_EQ(gbkToUtf8(textOf(p.pileNo)), "桩A-1");
        EXPECT_EQ(p.pileTypeIndex, 3);
        EXPECT_EQ(p.pileDiameter, 800);
        EXPECT_EQ(textOf(p.testDateTime), "2003-05-06 10:20");
        EXPECT_EQ(textOf(p.castingDate), "2003-05-06 10:20");  // no casting date stored
        EXPECT_EQ(p.gain, 12);
        EXPECT_EQ(p.triggerLevel, 4);
        EXPECT_EQ(p.spare104, 0x01020304);
        EXPECT_EQ(p.pileLength, 10.0f);
        EXPECT_EQ(p.waveSpeed, 4000);
        EXPECT_EQ(p.sampleInterval, 20.0f);
        EXPECT_EQ(p.recordedLength, 4);
        EXPECT_EQ(p.headIndex, 10);
        EXPECT_EQ(p.toeIndex, 10 + 250);  // 10 m at 4000 m/s and 20 us
        EXPECT_EQ(p.rawSamples, lp.samples);
        EXPECT_EQ(p.samples, lp.samples);
        EXPECT_TRUE(p.steps.empty());
        EXPECT_EQ(p.spectrumMarks, (std::vector<std::int32_t>{5, -7, 300}));
        EXPECT_EQ(p.checked, code == 3 ? 1 : 0);

        // pairs of kind 0 are no marks; kinds without a name are called "缺陷"
        ASSERT_EQ(p.defectCount(), 3);
        EXPECT_EQ(p.defects[0].kind, 2);
        EXPECT_EQ(textOf(p.defects[0].name), DefectNames().gbk[2]);
        EXPECT_EQ(p.defects[0].position, 10 + 50);
        EXPECT_EQ(p.defects[1].kind, 9);
        EXPECT_EQ(gbkToUtf8(textOf(p.defects[1].name)), "缺陷");
        EXPECT_EQ(p.defects[1].depth, 1.5f);
        EXPECT_EQ(p.defects[1].position, 10 + 37);
        EXPECT_EQ(gbkToUtf8(textOf(p.defects[2].name)), "扩底");
        EXPECT_EQ(p.defects[2].position, 10 - 12);
    }
}

TEST(LegacyFile, FirstGenerationSensorRule) {
    for (auto [stored, read] : {std::pair{0, 0}, {1, 0}, {2, 1}, {3, 1}, {-1, 0}}) {
        LegacyPoint lp;
        lp.sensorType = stored;
        EXPECT_EQ(readOne(1, lp).sensorType, read) << "stored " << stored;
        EXPECT_EQ(readOne(2, lp).sensorType, stored) << "stored " << stored;
    }
}

TEST(LegacyFile, WithoutPileHeadMarksAndToeKeepNoPosition) {
    LegacyPoint lp;
    lp.headIndex = -1;
    lp.marks = {{3, 2.0f}};
    TestPoint p = readOne(2, lp);
    EXPECT_EQ(p.toeIndex, 0);
    ASSERT_EQ(p.defectCount(), 1);
    EXPECT_EQ(p.defects[0].position, 0);
    // nor does a point without wave speed end up with a made-up position
    lp.headIndex = 4;
    lp.waveSpeed = 0;
    p = readOne(2, lp);
    EXPECT_EQ(p.toeIndex, 0);
    EXPECT_EQ(p.defects[0].position, 0);
}

// ---- chains ---------------------------------------------------------------------------

TEST(LegacyFile, ChainOfAVersion2PointFollowsTheFixedOrder) {
    LegacyPoint lp;
    lp.samples = wave(64, 0.5f);
    lp.integrate = 1;
    lp.passes = 2;
    lp.lowPassKHz = 1.5f;
    lp.highPassKHz = 0.2f;  // never becomes a step
    lp.frontZero = 5;
    lp.backZero = 50;
    lp.shift = 3;
    lp.ampLaw = 1;
    lp.ampFactor = 2.5f;
    lp.ampStartDepth = 1.0f;
    lp.rotation = 100;
    lp.smooth = 4;
    TestPoint p = readOne(2, lp);

    // DC offset, filters, integration .. smoothing, the second DC offset (the
    // rotation ramp lifts the zeroed front), then the stored shift
    ASSERT_EQ(kindsOf(p),
              (std::vector<int>{kShift, kFilter, kFilter, kSimpleIntegrate, kFrontZero, kBackZero,
                                kAmplify, kRotate, kSmooth, kShift, kShift}));
    double first5 = 0;
    for (int i = 0; i < 5; ++i) first5 += lp.samples[i];
    EXPECT_NEAR(p.steps[0].shiftMv, -first5 * 0.2, 1e-6);
    for (int i : {1, 2}) {
        EXPECT_EQ(p.steps[i].filterType, 1);
        EXPECT_FLOAT_EQ(p.steps[i].upperFreqHz, 1500.0f);
        EXPECT_EQ(p.steps[i].lowerFreqHz, 0.0f);
    }
    EXPECT_EQ(p.steps[4].frontZeroEnd, 5);
    EXPECT_EQ(p.steps[5].backZeroStart, 50);
    EXPECT_EQ(p.steps[6].ampLaw, 1);
    EXPECT_EQ(p.steps[6].ampFactor, 2.5f);
    EXPECT_EQ(p.steps[6].ampStart, 10 + 25);  // 1 m below the head at 4000 m/s, 20 us
    EXPECT_EQ(p.steps[7].rotPartial, 0);
    EXPECT_FLOAT_EQ(p.steps[7].rotAngle, static_cast<float>(std::atan(100.0 / 1024.0)));
    EXPECT_EQ(p.steps[8].smoothPoints, 4);

    // the second DC offset and the shift's scale come from the trace after the first
    // nine steps
    TestPoint nine = p;
    nine.steps.resize(9);
    ReplayChain(nine);
    double mean = 0, range = 0;
    for (int i = 0; i < 5; ++i) mean += nine.samples[i] * 0.2;
    for (float v : nine.samples) range = std::max(range, std::fabs(static_cast<double>(v)));
    EXPECT_NEAR(p.steps[9].shiftMv, -mean, 1e-5);
    EXPECT_NEAR(p.steps[10].shiftMv, 3 * 2 * range * 0.0026936026, 1e-5);
    for (int i : {0, 9, 10}) {
        EXPECT_EQ(p.steps[i].shiftSamples, 0);
        EXPECT_EQ(p.steps[i].shiftPartial, 0);
    }

    // every append is remembered: the last one's kind, each kind's last parameters
    EXPECT_EQ(p.lastParams.kind, kShift);
    EXPECT_EQ(p.lastParams.shiftMv, p.steps[10].shiftMv);
    EXPECT_FLOAT_EQ(p.lastParams.upperFreqHz, 1500.0f);
    EXPECT_EQ(p.lastParams.ampStart, 35);
    EXPECT_EQ(p.lastParams.frontZeroEnd, 5);
    EXPECT_EQ(p.lastParams.smoothPoints, 4);
    expectReplayed(p);
    EXPECT_EQ(p.rawSamples, lp.samples);
}

TEST(LegacyFile, FiltersNeedPassesAndACutOff) {
    struct Case {
        int passes;
        float kHz;
        int filters;
    } cases[] = {{3, 2.0f, 3},   {0, 2.0f, 0},   {-2, 2.0f, 0},    {2, 0.0f, 0},
                 {2, 1e-11f, 0}, {32, 2.0f, 32}, {32767, 2.0f, 32}};  // a damaged count is bounded
    for (const Case& c : cases) {
        LegacyPoint lp;
        lp.passes = c.passes;
        lp.lowPassKHz = c.kHz;
        TestPoint p = readOne(2, lp);
        auto lowPass = [&](const ProcessStep& st) {
            return st.kind == kFilter && st.filterType == 1 && st.upperFreqHz == c.kHz * 1000.0f;
        };
        EXPECT_EQ(std::count_if(p.steps.begin(), p.steps.end(), lowPass), c.filters)
            << c.passes << " passes at " << c.kHz << " kHz";
        EXPECT_EQ(p.stepCount(), c.filters);
    }
}

TEST(LegacyFile, TenSamplesOrFewerGetNoSteps) {
    for (int n : {1, 10, 11}) {
        LegacyPoint lp;
        lp.samples = wave(n, 1.0f);
        lp.integrate = 1;
        lp.passes = 1;
        lp.lowPassKHz = 1.0f;
        lp.frontZero = 2;
        lp.shift = 1;
        lp.rotation = 5;
        TestPoint p = readOne(2, lp);
        EXPECT_EQ(p.steps.empty(), n <= 10) << n << " samples";
        EXPECT_EQ(p.lastParams.kind, n <= 10 ? 0 : kShift);
        if (n <= 10) {
            EXPECT_EQ(p.samples, lp.samples);
        }
    }
}

TEST(LegacyFile, DcOffsetThreshold) {
    struct Case {
        float level;
        std::optional<float> shift;
    } cases[] = {{0.005f, std::nullopt}, {-0.005f, std::nullopt}, {-0.02f, 0.02f}, {0.5f, -0.5f}};
    for (const Case& c : cases) {
        LegacyPoint lp;
        lp.samples.assign(32, 0.0f);
        for (int i = 0; i < 5; ++i) lp.samples[i] = c.level;
        TestPoint p = readOne(2, lp);
        if (!c.shift) {
            EXPECT_TRUE(p.steps.empty()) << c.level;
            continue;
        }
        // once shifted, the second check finds nothing left to take out
        ASSERT_EQ(kindsOf(p), std::vector<int>{kShift}) << c.level;
        EXPECT_NEAR(p.steps[0].shiftMv, *c.shift, 1e-6);
        EXPECT_NEAR(p.samples[0], 0.0f, 1e-6);
    }
}

TEST(LegacyFile, Version3LocalScalesAndDisplayScale) {
    LegacyPoint lp;
    lp.samples = wave(40, 0.0f);
    lp.samples[0] = lp.samples[1] = lp.samples[2] = lp.samples[3] = lp.samples[4] = 0.0f;
    lp.scales = {{2.0f, 5, 20}, {0.5f, 21, 30}};
    lp.displayScale = 5;
    lp.checked = 1;
    lp.integrate = 1;
    TestPoint p = readOne(3, lp);
    ASSERT_GE(p.stepCount(), 3);
    EXPECT_EQ(kindsOf(p)[0], kLocalScale);
    EXPECT_EQ(p.steps[0].scaleFactor, 2.0f);
    EXPECT_EQ(p.steps[0].scaleStart, 5);
    EXPECT_EQ(p.steps[0].scaleEnd, 20);
    EXPECT_EQ(p.steps[1].scaleFactor, 0.5f);
    EXPECT_EQ(p.steps[1].scaleStart, 21);
    EXPECT_EQ(kindsOf(p)[2], kSimpleIntegrate);  // version 3 integrates simply
    EXPECT_EQ(p.checked, 1);
    EXPECT_EQ(p.lastParams.viewStates[0].vScaleMode, 1);
    EXPECT_FLOAT_EQ(p.lastParams.viewStates[0].vScale, 1.0f / 1.5f);
    EXPECT_EQ(p.lastParams.viewStates[1], DisplayState{});
    expectReplayed(p);

    lp.displayScale = -10;
    EXPECT_EQ(readOne(3, lp).lastParams.viewStates[0].vScale, 0.0f);
    lp.displayScale = 0;
    EXPECT_EQ(readOne(3, lp).lastParams.viewStates[0], DisplayState{});
}

TEST(LegacyFile, Version5IntegratesAndConvertsTheSensor) {
    LegacyPoint lp;
    lp.samples = wave(48, 0.0f);
    lp.integrate = 1;
    lp.sensorType = 2;
    TestPoint p = readOne(5, lp);
    std::vector<int> kinds = kindsOf(p);
    ASSERT_FALSE(kinds.empty());
    EXPECT_EQ(kinds.back(), kIntegrate);  // the sensor conversion comes last
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), kIntegrate), 2);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), kSimpleIntegrate), 0);
    EXPECT_EQ(p.lastParams.kind, kIntegrate);
    EXPECT_EQ(p.sensorType, 2);
    expectReplayed(p);

    // a velocity sensor gets no conversion; a short acceleration trace still does
    lp.sensorType = 1;
    kinds = kindsOf(readOne(5, lp));
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), kIntegrate), 1);
    lp.sensorType = 2;
    lp.samples.resize(8);
    EXPECT_EQ(kindsOf(readOne(5, lp)), std::vector<int>{kIntegrate});
    // the same record in a version-2 file knows no conversion
    lp.samples = wave(48, 0.0f);
    kinds = kindsOf(readOne(2, lp));
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), kIntegrate), 0);
}

// ---- bad input --------------------------------------------------------------------------

TEST(LegacyFile, UnreadableRecordsAndHeaders) {
    const std::string lost0 = "测点数据不完整，[2]个测点第[0]个测点以后数据丢失！";
    auto twoWithFirst = [](int code, LegacyPoint bad) {
        return legacyFile(code, {bad, LegacyPoint{}});
    };
    LegacyPoint zeroLength, negativeLength, hugeLength, negSpectrum, hugeSpectrum, spectrumPastEnd,
        scalesPastEnd, hugeScales, negScales;
    zeroLength.recordedLength = 0;
    negativeLength.recordedLength = -5;
    hugeLength.recordedLength = 10000;
    hugeLength.samples.assign(10000, 0.0f);
    negSpectrum.spectrumCount = -1;
    hugeSpectrum.spectrumCount = 10000;
    spectrumPastEnd.spectrumCount = 9999;  // the file holds far fewer values
    scalesPastEnd.scaleCount = 9999;
    hugeScales.scaleCount = 0x7FFFFFFF;
    negScales.scaleCount = -1;
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"recordedLength 0", twoWithFirst(2, zeroLength), lost0},
        {"recordedLength < 0", twoWithFirst(5, negativeLength), lost0},
        {"recordedLength > 9999", twoWithFirst(1, hugeLength), lost0},
        {"spectrum count < 0", twoWithFirst(2, negSpectrum), lost0},
        {"spectrum count > 9999", twoWithFirst(2, hugeSpectrum), lost0},
        {"spectrum count past the end", legacyFile(2, {LegacyPoint{}, spectrumPastEnd}, 2), ""},
        {"scale count past the end", twoWithFirst(3, scalesPastEnd), lost0},
        {"scale count > 9999", twoWithFirst(3, hugeScales), lost0},
        {"scale count < 0", twoWithFirst(3, negScales), lost0},
        {"header cut", legacyHeader(5, 1).substr(0, 60), kMsgNotDataFile},
        {"no points", legacyHeader(2, 0), "文件异常，测点数[0]不合理！"},
        {"negative count", legacyHeader(3, -3), "文件异常，测点数[-3]不合理！"},
        {"header only", legacyHeader(2, 4), "测点数据不完整，[4]个测点第[0]个测点以后数据丢失！"},
    };
    for (const Case& c : cases) {
        CSondaraDoc d;
        std::string warning;
        EXPECT_EQ(readBytes(d, c.bytes, &warning), c.message) << c.what;
        if (c.message.empty()) {
            EXPECT_EQ(d.pointCount(), 1) << c.what;
            EXPECT_EQ(warning, "测点数据不完整，[2]个测点第[1]个测点以后数据丢失！") << c.what;
        } else {
            EXPECT_EQ(d.pointCount(), 0) << c.what;
        }
    }
}

TEST(LegacyFile, HeaderPromisingMorePointsKeepsThoseThere) {
    CSondaraDoc d;
    std::string warning;
    ASSERT_EQ(readBytes(d, legacyFile(2, {LegacyPoint{}, LegacyPoint{}}, 5), &warning), "");
    EXPECT_EQ(d.pointCount(), 2);
    EXPECT_EQ(d.info.pointCount, 2);
    EXPECT_EQ(d.originalPoints.size(), 2u);
    EXPECT_EQ(warning, "测点数据不完整，[5]个测点第[2]个测点以后数据丢失！");
}

TEST(LegacyFile, EveryCutOfAFileIsHandled) {
    for (int code : {1, 2, 3, 5}) {
        LegacyPoint a, b;
        a.samples = wave(14, 0.3f);
        a.scales = {{1.5f, 1, 6}};
        a.spectrumMarks = {1, 2};
        b.samples = wave(12, -0.1f);
        b.marks = {{1, 1.0f}};
        const std::string full = legacyFile(code, {a, b});
        const std::size_t header = code == 5 ? 107 : 77;
        const std::size_t firstEnd = header + legacyRecord(code, a).size();
        for (std::size_t n = 0; n <= full.size(); ++n) {
            CSondaraDoc d;
            std::string msg = readBytes(d, full.substr(0, n));
            const int expected = n < firstEnd ? 0 : n < full.size() ? 1 : 2;
            ASSERT_EQ(d.pointCount(), expected) << "code " << code << ", " << n << " bytes";
            ASSERT_EQ(msg.empty(), expected > 0) << "code " << code << ", " << n << " bytes";
        }
    }
}

// ---- conversion to the current version ------------------------------------------------

TEST(LegacyFile, EveryVersionConvertsToQar16AndReadsBackEqual) {
    test::TempDir dir;
    for (int code : {1, 2, 3, 5}) {
        SCOPED_TRACE(code);
        LegacyPoint a;
        a.samples = wave(80, 0.4f);
        a.integrate = 1;
        a.passes = 1;
        a.lowPassKHz = 2.0f;
        a.frontZero = 3;
        a.shift = 2;
        a.ampFactor = 1.8f;
        a.ampStartDepth = 0.5f;
        a.rotation = -40;
        a.smooth = 3;
        a.scales = {{1.5f, 10, 30}};
        a.displayScale = 2;
        a.marks = {{3, 2.5f}, {12, 4.0f}};
        a.spectrumMarks = {17, 40};
        a.sensorType = 2;
        LegacyPoint b;
        b.pileNo = "B-2";
        b.samples = wave(30, -0.2f);
        b.backZero = 20;
        std::string in = dir.file("in" + std::to_string(code) + ".qar");
        ASSERT_TRUE(test::writeFile(in, legacyFile(code, {a, b})));

        CSondaraDoc first;
        ASSERT_EQ(ReadProject(first, in), "");
        ASSERT_EQ(first.pointCount(), 2);
        EXPECT_FALSE(first.points[0].steps.empty());
        EXPECT_EQ(first.originalPoints.size(), 2u);
        std::string out = dir.file("out" + std::to_string(code) + ".qar");
        ASSERT_TRUE(WriteProject(first, out));

        CSondaraDoc second;
        ASSERT_EQ(ReadProject(second, out), "");
        EXPECT_EQ(versionTagOf(second.info), "QAR16");
        EXPECT_EQ(second.info.testingUnit, first.info.testingUnit);
        EXPECT_EQ(second.info.projectName, first.info.projectName);
        ASSERT_EQ(second.pointCount(), 2);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(second.points[i], first.points[i]) << "point " << i;
            EXPECT_EQ(second.originalPoints[i], first.originalPoints[i]) << "original " << i;
        }
    }
}

TEST(LegacyFile, CliConvertsEveryVersion) {
    if (!std::getenv("SONDARA_CLI")) GTEST_SKIP() << "run through ctest, which names the CLI";
    test::TempDir dir;
    LegacyPoint lp;
    lp.samples = wave(20, 0.0f);
    lp.shift = 1;
    for (int code : {1, 2, 3, 5}) {
        std::string in = dir.file("v" + std::to_string(code) + ".qar"), out = dir.file("out.qar");
        ASSERT_TRUE(test::writeFile(in, legacyFile(code, {lp})));
        test::RunResult r = test::runCommand(test::cliPath() + " convert " + test::shellQuote(in) +
                                             " " + test::shellQuote(out));
        ASSERT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(test::readFile(out).substr(0, 5), "QAR16");
    }
}

}  // namespace
}  // namespace sondara
