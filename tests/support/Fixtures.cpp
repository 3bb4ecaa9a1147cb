#include "support/Fixtures.h"

#include <cmath>

#include "core/base/TextCodec.h"
#include "core/fileio/ProjectFile.h"

namespace sondara::test {

Bytes& Bytes::i16(int v) {
    std::int16_t x = static_cast<std::int16_t>(v);
    s.append(reinterpret_cast<const char*>(&x), 2);
    return *this;
}
Bytes& Bytes::i32(std::int32_t v) {
    s.append(reinterpret_cast<const char*>(&v), 4);
    return *this;
}
Bytes& Bytes::f32(float v) {
    s.append(reinterpret_cast<const char*>(&v), 4);
    return *this;
}
Bytes& Bytes::text(std::string_view t, std::size_t n) {
    std::string f(t.substr(0, n));
    f.resize(n, '\0');
    s += f;
    return *this;
}
Bytes& Bytes::utf16(std::string_view utf8, std::size_t n) {
    std::string f;
    for (std::size_t i = 0; i < utf8.size();) {
        unsigned c = static_cast<unsigned char>(utf8[i]);
        unsigned cp;
        if (c < 0x80) {
            cp = c;
            i += 1;
        } else if (c < 0xE0) {
            cp = ((c & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
            i += 2;
        } else {
            cp = ((c & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
            i += 3;
        }
        f += static_cast<char>(cp & 0xFF);
        f += static_cast<char>(cp >> 8);
    }
    f.resize(n, '\0');
    s += f;
    return *this;
}
Bytes& Bytes::fill(std::size_t n, char c) {
    s.append(n, c);
    return *this;
}
Bytes& Bytes::pattern(std::size_t n, char first) {
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>(first + i % 26);
    return *this;
}

TestPoint fullPoint(int seed, const char* pileNo) {
    TestPoint p;
    p.spare0 = static_cast<std::int16_t>(1000 + seed);
    setText(p.pileNo, pileNo);
    p.pileTypeIndex = 100;
    setText(p.pileTypeText, utf8ToGbk("自定义桩型" + std::to_string(seed)));
    p.pileDiameter = static_cast<std::int16_t>(600 + seed);
    setText(p.testDateTime, "2026-11-03 09:41:07");
    p.sensorType = 1;
    p.gain = static_cast<std::int16_t>(20 + seed);
    p.triggerLevel = 3;
    p.spare104 = 0x12345678 + seed;
    p.pileLength = 12.5f + seed;
    p.waveSpeed = 3800;
    p.sampleInterval = 20.0f;
    p.recordedLength = 8;
    p.headIndex = 2;
    p.toeIndex = 7;
    p.integrityClass = 2;
    setText(p.castingDate, "2026-09-01 08:00");
    setText(p.remark, utf8ToGbk("备注" + std::to_string(seed)));
    for (int i = 0; i < 8; ++i) {
        p.rawSamples.push_back(static_cast<float>(i * 1.25 - seed));
        p.samples.push_back(static_cast<float>(-i * 0.5 + seed));
    }
    ProcessStep s = makeStep(ProcessKind::Filter);
    s.upperFreqHz = 1234.5f;
    s.viewStates[3].xOffset = seed;
    s.reserved1[7] = 9;
    p.steps.push_back(s);
    p.steps.push_back(makeStep(ProcessKind::Reverse));
    p.lastParams.kind = 3;
    p.lastParams.smoothPoints = 5 + seed;
    p.lastParams.viewStates[25].vScale = 2.5f;
    p.lastParams.rangeMax = 11.0f;
    p.lastParams.rangeMin = -11.0f;
    PileMark m;
    m.kind = 2;
    setText(m.name, utf8ToGbk("缩径"));
    setText(m.remark, "r");
    m.depth = 4.0f;  // 4 m at 3800 m/s and 20 us: 105 samples below the head
    m.position = 2 + 105;
    setText(m.thirdText, "third");
    m.padding = {1, 2};
    p.defects.push_back(m);
    p.spectrumMarks = {3, 9};
    p.correlationMarks = {4};
    p.waveletMarkPanes = {1, 2};
    p.waveletMarkPositions = {100, 200};
    p.checked = seed % 2;
    p.headSetFlag = 0;
    p.toeSetFlag = 1;
    setText(p.extraText, "extra");
    return p;
}

TestPoint simplePoint(const char* pileNo, int n, float scale) {
    TestPoint p;
    setText(p.pileNo, pileNo);
    p.sampleInterval = 20.0f;
    p.waveSpeed = 4000;
    p.recordedLength = static_cast<std::int16_t>(n);
    for (int i = 0; i < n; ++i) p.rawSamples.push_back(scale * static_cast<float>((i % 5) - 2));
    p.samples = p.rawSamples;
    return p;
}

TestPoint sinePoint(const char* pileNo, int n, double amplitude, double period) {
    TestPoint p = simplePoint(pileNo, 2);
    p.rawSamples.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        p.rawSamples[static_cast<size_t>(i)] = static_cast<float>(amplitude * std::sin(i / period));
    p.samples = p.rawSamples;
    p.recordedLength = static_cast<std::int16_t>(n);
    return p;
}

TestPoint pilePoint() {
    TestPoint p;
    p.samples.assign(1024, 0.0f);
    p.rawSamples = p.samples;
    p.recordedLength = 1024;
    p.sampleInterval = 20.0f;
    p.waveSpeed = 4000;
    p.pileLength = 16.0f;
    p.headIndex = 100;
    p.toeIndex = 500;
    return p;
}

CSondaraDoc makeDoc(std::vector<TestPoint> pts) {
    CSondaraDoc d;
    setVersionTag(d.info, "QAR16");
    setText(d.info.testingUnit, "unit");
    setText(d.info.projectName, "project");
    d.points = std::move(pts);
    d.info.pointCount = d.pointCount();
    d.originalInfo = d.info;
    d.originalPoints = d.points;
    d.loaded = 1;
    d.rebuildCheckedList();
    d.selectPoint(d.points.empty() ? -1 : 0);
    return d;
}

std::string fileBytes(const char* tag, int declaredCount, const std::vector<TestPoint>& pts,
                      bool withOriginal) {
    ByteWriter w;
    ProjectInfo h;
    setVersionTag(h, tag);
    h.pointCount = declaredCount;
    setText(h.testingUnit, "unit");
    writeHeader(w, h);
    for (const TestPoint& p : pts) writePointRecord(w, p);
    if (withOriginal) {
        writeHeader(w, h);
        for (const TestPoint& p : pts) writePointRecord(w, p);
    }
    return w.take();
}

bool process(CSondaraDoc& d, std::vector<int> targets, ProcessKind kind, ChainEdit edit,
             int index) {
    CommitRequest r;
    r.edit = edit;
    r.targets = std::move(targets);
    r.kind = kind;
    r.index = index;
    return CommitProcessing(d, r) == CommitResult::Committed;
}

}  // namespace sondara::test

namespace sondara {
void PrintTo(const TestPoint& p, std::ostream* os) {
    *os << "TestPoint{pileNo=" << textOf(p.pileNo) << " raw=" << p.rawCount()
        << " samples=" << p.sampleCount() << " steps=" << p.stepCount()
        << " defects=" << p.defectCount() << " head=" << p.headIndex << " toe=" << p.toeIndex
        << " range=" << p.lastParams.rangeMin << ".." << p.lastParams.rangeMax << "}";
}
void PrintTo(const ProcessStep& s, std::ostream* os) {
    *os << "ProcessStep{kind=" << s.kind << " range=" << s.rangeMin << ".." << s.rangeMax << "}";
}
}  // namespace sondara
