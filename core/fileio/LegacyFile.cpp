#include "core/fileio/LegacyFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "core/base/TextCodec.h"
#include "core/model/NameLists.h"
#include "core/processing/ProcessingChain.h"

namespace sondara {

namespace {

constexpr int kMaxCount = 9999;  // any count stored in a record, samples included
constexpr int kMarkPairs = 10;
constexpr int kMaxDefectKindWithName = 7;
constexpr int kMaxLowPassPasses = 32;
// The old instruments stored the vertical shift relative to the trace's range; this
// factor (applied to twice the symmetric range) turns it back into mV.
constexpr double kShiftRangeFactor = 0.0026936026;

bool isLegacyCode(int code) {
    return code == 1 || code == 2 || code == 3 || code == 5;
}

// Stores up to N bytes (no terminator needed when the text fills the field), never
// cutting a GBK character in half.
template <std::size_t N>
void storeText(FixedText<N>& f, std::string_view s) {
    f.fill(0);
    std::memcpy(f.data(), s.data(), gbkSafeCut(s, N));
}

// A fixed UTF-16LE field of a "QAR05" file as GBK: up to the first NUL character,
// trailing blanks removed.
std::string utf16Field(const char* bytes, std::size_t size) {
    std::size_t len = 0;
    while (len + 1 < size && (bytes[len] != 0 || bytes[len + 1] != 0)) len += 2;
    std::string gbk = utf16leToGbk(std::string_view(bytes, len));
    while (!gbk.empty() && (gbk.back() == ' ' || gbk.back() == '\t' || gbk.back() == '\r' ||
                            gbk.back() == '\n' || gbk.back() == '\0'))
        gbk.pop_back();
    return gbk;
}

template <std::size_t N>
bool readUtf16Text(ByteReader& in, FixedText<N>& f, std::size_t bytes) {
    char buf[64];
    if (bytes > sizeof buf || !in.read(buf, bytes)) return false;
    storeText(f, utf16Field(buf, bytes));
    return true;
}

// head + trunc(samples) when that is a finite value of the target type; a point
// without a usable wave speed or sample interval gives nothing.
template <typename T>
std::optional<T> headPlus(int head, double samples) {
    if (!std::isfinite(samples)) return std::nullopt;
    double v = head + std::trunc(samples);
    if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) return std::nullopt;
    return static_cast<T>(v);
}

// Samples from the pile head down to `metres` (two-way travel time over the sample
// interval), computed exactly as the data file reader recomputes mark positions.
double samplesOfDepth(const TestPoint& p, double metres) {
    return metres / p.waveSpeed / p.sampleInterval * 2000000.0;
}

const std::string& defectFallbackName() {
    static const std::string gbk = utf8ToGbk("缺陷");
    return gbk;
}

// The stored processing parameters of one record, in the order they are read.
struct StoredParams {
    std::int16_t integrate = 0;
    std::int16_t lowPassPasses = 0;
    std::int16_t frontZeroEnd = 0;
    std::int16_t backZeroStart = 0;
    std::int16_t shift = 0;
    std::int16_t displayScale = 0;  // code 3: vertical display scale w
    std::vector<ProcessStep> localScales;
    std::int16_t ampLaw = 0;
    float ampFactor = 0.0f;
    float ampStartDepth = 0.0f;  // m
    float lowPassKHz = 0.0f;
    float highPassKHz = 0.0f;  // read, never used
    std::int16_t rotation = 0;
    std::int16_t smoothPoints = 0;
    std::int16_t markKind[kMarkPairs] = {};
    float markDepth[kMarkPairs] = {};
};

bool readVersionBlock(ByteReader& in, int code, TestPoint& p, StoredParams& s) {
    if (code == 1) {
        // The first generation knew only acceleration (0) and velocity (1) sensors.
        p.sensorType = p.sensorType >= 2 ? 1 : 0;
        return in.skip(50);
    }
    s.integrate = in.i16();
    s.lowPassPasses = in.i16();
    s.frontZeroEnd = in.i16();
    s.backZeroStart = in.i16();
    s.shift = in.i16();
    if (code == 3) {
        p.checked = in.i32();
        in.skip(2);
        s.displayScale = in.i16();
        std::int32_t k = in.i32();
        if (!in.ok()) return false;
        constexpr std::uint64_t kTripleBytes = 4 + 2 + 2;
        if (k < 0 || k > kMaxCount ||
            static_cast<std::uint64_t>(k) * kTripleBytes > in.remaining()) {
            in.fail();
            return false;
        }
        s.localScales.reserve(static_cast<std::size_t>(k));
        for (std::int32_t i = 0; i < k; ++i) {
            ProcessStep step = makeStep(ProcessKind::LocalScale);
            step.scaleFactor = in.f32();
            step.scaleStart = in.i16();
            step.scaleEnd = in.i16();
            s.localScales.push_back(step);
        }
    }
    return in.skip(40);
}

// The candidate steps the stored parameters stand for. The chain builder picks them
// by kind, so only the order among steps of the same kind matters here.
std::vector<ProcessStep> scratchChain(int code, const TestPoint& p, const StoredParams& s) {
    std::vector<ProcessStep> scratch;
    if (s.integrate == 1)
        scratch.push_back(
            makeStep(code == 5 ? ProcessKind::Integrate : ProcessKind::SimpleIntegrate));
    if (s.frontZeroEnd > 0) {
        ProcessStep st = makeStep(ProcessKind::FrontZero);
        st.frontZeroEnd = s.frontZeroEnd;
        scratch.push_back(st);
    }
    if (s.backZeroStart > 0) {
        ProcessStep st = makeStep(ProcessKind::BackZero);
        st.backZeroStart = s.backZeroStart;
        scratch.push_back(st);
    }
    if (s.shift > 0) {
        ProcessStep st = makeStep(ProcessKind::Shift);
        st.shiftMv = s.shift;
        st.shiftSamples = 0;
        st.shiftPartial = 0;
        scratch.push_back(st);
    }
    scratch.insert(scratch.end(), s.localScales.begin(), s.localScales.end());
    if (s.smoothPoints > 0) {
        ProcessStep st = makeStep(ProcessKind::Smooth);
        st.smoothPoints = s.smoothPoints;
        scratch.push_back(st);
    }
    if (s.lowPassPasses > 0 && s.lowPassKHz > 1e-10) {
        ProcessStep st = makeStep(ProcessKind::Filter);
        st.filterType = 1;
        st.upperFreqHz = s.lowPassKHz * 1000.0f;
        // Instruments store a handful of passes (the transfer clamps them to 1..5); a
        // damaged count of thousands would turn a small file into minutes of filtering
        // on every replay, so more than kMaxLowPassPasses are taken as that many.
        const int passes = std::min<int>(s.lowPassPasses, kMaxLowPassPasses);
        scratch.insert(scratch.end(), static_cast<std::size_t>(passes), st);
    }
    if (s.ampFactor > 1.0f) {
        ProcessStep st = makeStep(ProcessKind::Amplify);
        st.ampLaw = s.ampLaw;
        st.ampFactor = s.ampFactor;
        // the delay was stored in metres below the pile head
        double k = static_cast<double>(s.ampStartDepth) * 2.0 /
                   (static_cast<double>(p.sampleInterval) * p.waveSpeed) * 1000000.0;
        st.ampStart = headPlus<std::int32_t>(p.headIndex, k).value_or(p.headIndex);
        scratch.push_back(st);
    }
    if (s.rotation != 0) {
        ProcessStep st = makeStep(ProcessKind::Rotate);
        st.rotPartial = 0;
        st.rotAngle = static_cast<float>(std::atan(s.rotation / 1024.0));
        scratch.push_back(st);
    }
    return scratch;
}

void buildMarks(TestPoint& p, const StoredParams& s) {
    for (int i = 0; i < kMarkPairs; ++i) {
        if (s.markKind[i] == 0) continue;
        PileMark m;
        m.kind = s.markKind[i];
        m.depth = s.markDepth[i];
        const bool named = m.kind >= 0 && m.kind <= kMaxDefectKindWithName;
        storeText(m.name, named ? DefectNames().gbk[m.kind] : defectFallbackName());
        if (p.headIndex >= 0)
            m.position =
                headPlus<std::int32_t>(p.headIndex, samplesOfDepth(p, m.depth)).value_or(0);
        p.defects.push_back(m);
    }
}

void append(TestPoint& p, const ProcessStep& step) {
    p.steps.push_back(step);
    RememberParameters(p, step);
}

// Appends a Shift that takes out the mean of the first five samples, when it is
// large enough to matter.
void appendDcOffset(TestPoint& p) {
    double sum = 0.0;
    for (int i = 0; i < 5 && i < p.sampleCount(); ++i) sum += p.samples[i];
    const double mean = sum * 0.2;
    if (std::fabs(mean) < 0.01) return;
    ProcessStep st = makeStep(ProcessKind::Shift);
    st.shiftMv = static_cast<float>(-mean);
    st.shiftSamples = 0;
    st.shiftPartial = 0;
    append(p, st);
}

void appendKind(TestPoint& p, const std::vector<ProcessStep>& scratch, ProcessKind kind) {
    for (const ProcessStep& st : scratch)
        if (st.processKind() == kind) append(p, st);
}

}  // namespace

bool readLegacyHeader(ByteReader& in, int code, ProjectInfo& info) {
    if (!isLegacyCode(code)) return false;
    info.pointCount = in.i16();  // sign-extended
    info.testingUnit.fill(0);
    info.projectName.fill(0);
    info.extraInfo.fill(0);
    if (code == 5) {
        readUtf16Text(in, info.testingUnit, 50);
        readUtf16Text(in, info.projectName, 50);
    } else {
        in.read(info.testingUnit.data(), 50);
        in.read(info.projectName.data(), 20);
    }
    return in.ok();
}

bool readLegacyPointRecord(ByteReader& in, int code, TestPoint& p, int /*pointIndex*/) {
    if (!isLegacyCode(code) || !in.ok()) return false;
    StoredParams s;

    p.spare0 = in.i16();
    p.pileNo.fill(0);
    if (code == 5)
        readUtf16Text(in, p.pileNo, 20);
    else
        in.read(p.pileNo.data(), 10);
    p.pileTypeIndex = in.i16();
    p.pileDiameter = in.i16();
    in.read(p.testDateTime.data(), 20);  // bytes as stored, also in code 5
    p.sensorType = in.i16();
    p.gain = in.i16();
    p.triggerLevel = in.i16();
    p.spare104 = in.i32();
    if (!readVersionBlock(in, code, p, s)) return false;

    p.pileLength = in.f32();
    p.waveSpeed = in.i16();
    p.sampleInterval = in.f32();
    p.recordedLength = in.i16();
    if (!in.ok()) return false;
    if (p.recordedLength <= 0 || p.recordedLength > kMaxCount) return in.fail(), false;

    s.ampLaw = in.i16();
    s.ampFactor = in.f32();
    s.ampStartDepth = in.f32();
    s.lowPassKHz = in.f32();
    s.highPassKHz = in.f32();
    s.rotation = in.i16();
    p.headIndex = in.i16();
    in.skip(2);
    for (int i = 0; i < kMarkPairs; ++i) {
        s.markKind[i] = in.i16();
        s.markDepth[i] = in.f32();
    }
    in.skip(12);
    s.smoothPoints = in.i16();
    in.skip(36);
    if (!in.floats(p.rawSamples, static_cast<std::size_t>(p.recordedLength))) return false;

    std::int16_t m = in.i16();
    if (!in.ok()) return false;
    if (m < 0 || m > kMaxCount || static_cast<std::uint64_t>(m) * 2 > in.remaining())
        return in.fail(), false;
    p.spectrumMarks.resize(static_cast<std::size_t>(m));
    for (std::int32_t& v : p.spectrumMarks) v = in.i16();
    if (!in.ok()) return false;

    // Like every format without a casting date, the test date stands in for it; this
    // also keeps the point unchanged when it is saved and read again.
    if (textOf(p.castingDate).size() <= 5)
        std::memcpy(p.castingDate.data(), p.testDateTime.data(), 20);

    if (code == 3 && s.displayScale != 0) {
        DisplayState& d = p.lastParams.viewStates[0];  // the time-domain view
        d.vScaleMode = 1;
        d.vScale =
            s.displayScale == -10 ? 0.0f : static_cast<float>(1.0 / (s.displayScale * 0.1 + 1.0));
    }
    buildMarks(p, s);
    p.samples = p.rawSamples;
    if (p.headIndex >= 0)
        p.toeIndex =
            headPlus<std::int16_t>(p.headIndex, samplesOfDepth(p, p.pileLength)).value_or(0);

    LegacyChainBuilder(p, scratchChain(code, p, s));
    if (code == 5) applyLegacySensorConversion(p);
    return true;
}

void LegacyChainBuilder(TestPoint& p, const std::vector<ProcessStep>& scratch) {
    if (p.sampleCount() <= 10) return;

    appendKind(p, scratch, ProcessKind::LocalScale);
    ReplayChain(p);
    appendDcOffset(p);
    for (const ProcessStep& st : scratch)
        if (st.processKind() == ProcessKind::Filter && st.filterType == 1) append(p, st);
    for (ProcessKind k :
         {ProcessKind::Integrate, ProcessKind::SimpleIntegrate, ProcessKind::FrontZero,
          ProcessKind::BackZero, ProcessKind::Amplify, ProcessKind::Rotate, ProcessKind::Smooth})
        appendKind(p, scratch, k);
    ReplayChain(p);
    appendDcOffset(p);

    // The stored shift is relative to the trace's symmetric range as it stands now.
    float hi = p.samples[0], lo = p.samples[0];
    for (float v : p.samples) {
        hi = std::max(hi, v);
        lo = std::min(lo, v);
    }
    const double range = std::max(std::fabs(hi), std::fabs(lo));
    for (const ProcessStep& st : scratch) {
        if (st.processKind() != ProcessKind::Shift) continue;
        ProcessStep scaled = st;
        scaled.shiftMv = static_cast<float>(st.shiftMv * 2.0 * range * kShiftRangeFactor);
        append(p, scaled);
    }
    ReplayChain(p);
}

void applyLegacySensorConversion(TestPoint& p) {
    if (p.sensorType != 2) return;
    ProcessStep st = makeStep(ProcessKind::Integrate);
    append(p, st);
    ReplayChain(p);
}

}  // namespace sondara
