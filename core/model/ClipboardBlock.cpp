#include "core/model/ClipboardBlock.h"

#include <algorithm>

#include "core/base/ByteIo.h"
#include "core/model/RecordImages.h"

namespace sondara {

namespace {

constexpr int kMaxCount = 9999;   // any array count of a point
constexpr int kMaxPoints = 9998;  // points of one block

void writeHead(ByteWriter& w, const ListSnapshot& s) {
    w.i32(s.op);
    w.i32(s.count());
    w.zeros(4);  // where the points array address was
    w.i32(s.mode);
    w.i32(s.anchor);
    w.i32(s.position);
    const ProjectInfo& h = s.header;
    w.text(h.versionTag);
    w.zeros(3);
    w.i32(h.pointCount);
    w.text(h.testingUnit);
    w.text(h.projectName);
    w.zeros(2);
    w.text(h.extraInfo);
    w.zeros(2);
}

std::int32_t count32(std::size_t n) {
    return static_cast<std::int32_t>(n);
}

void writePoint(ByteWriter& w, const TestPoint& p) {
    const std::size_t wavelets = std::min(p.waveletMarkPanes.size(), p.waveletMarkPositions.size());
    writePointImage(w, PointImage::Clipboard, p);
    w.zeros(3);
    w.i32(p.rawCount());
    w.zeros(4);
    w.i32(p.sampleCount());
    w.zeros(4);
    w.i32(p.stepCount());
    w.zeros(4);
    writeStep(w, p.lastParams);
    w.i32(p.defectCount());
    w.zeros(4);
    w.i32(count32(p.spectrumMarks.size()));
    w.zeros(4);
    w.i32(count32(p.correlationMarks.size()));
    w.zeros(4);
    w.i32(count32(wavelets));
    w.zeros(8);
    w.i32(p.checked);
    w.i32(p.headSetFlag);
    w.i32(p.toeSetFlag);
    w.i32(p.sourceIndex);
    w.text(p.extraText);
    w.zeros(2);

    w.floats(p.rawSamples);
    w.floats(p.samples);
    for (const ProcessStep& s : p.steps) writeStep(w, s);
    for (const PileMark& m : p.defects) writeMark(w, m);
    w.ints(p.spectrumMarks);
    w.ints(p.correlationMarks);
    w.bytes(p.waveletMarkPanes.data(), wavelets * 4);
    w.bytes(p.waveletMarkPositions.data(), wavelets * 4);
}

bool readCount(ByteReader& in, int& n) {
    std::int32_t v = in.i32();
    if (!in.ok() || v < 0 || v > kMaxCount) return false;
    n = v;
    return true;
}

// Reads one point: into `p` when given, otherwise only checks and skips it.
bool readPoint(ByteReader& in, TestPoint* p) {
    TestPoint scratch;
    TestPoint& q = p ? *p : scratch;
    int raw = 0, samples = 0, steps = 0, defects = 0, spectrum = 0, correlation = 0, wavelets = 0;
    if (!readPointImage(in, PointImage::Clipboard, q)) return false;
    in.skip(3);
    if (!readCount(in, raw) || !in.skip(4)) return false;
    if (!readCount(in, samples) || !in.skip(4)) return false;
    if (!readCount(in, steps) || !in.skip(4)) return false;
    if (!readStep(in, q.lastParams)) return false;
    if (!readCount(in, defects) || !in.skip(4)) return false;
    if (!readCount(in, spectrum) || !in.skip(4)) return false;
    if (!readCount(in, correlation) || !in.skip(4)) return false;
    if (!readCount(in, wavelets) || !in.skip(8)) return false;
    q.checked = in.i32();
    q.headSetFlag = in.i32();
    q.toeSetFlag = in.i32();
    q.sourceIndex = in.i32();
    in.text(q.extraText);
    in.skip(2);
    if (!in.ok()) return false;

    const std::uint64_t arrayBytes = 4ull * raw + 4ull * samples +
                                     std::uint64_t(kProcessStepBytes) * steps +
                                     std::uint64_t(kPileMarkBytes) * defects + 4ull * spectrum +
                                     4ull * correlation + 8ull * wavelets;
    if (arrayBytes > in.remaining()) return false;
    if (!p) return in.skip(arrayBytes);

    if (!in.floats(q.rawSamples, raw) || !in.floats(q.samples, samples)) return false;
    q.steps.resize(steps);
    for (ProcessStep& s : q.steps)
        if (!readStep(in, s)) return false;
    q.defects.resize(defects);
    for (PileMark& m : q.defects)
        if (!readMark(in, m)) return false;
    return in.ints(q.spectrumMarks, spectrum) && in.ints(q.correlationMarks, correlation) &&
           in.ints(q.waveletMarkPanes, wavelets) && in.ints(q.waveletMarkPositions, wavelets);
}

// Walks a block; fills `out` when given. Returns the point count or -1.
int walkBlock(std::string_view bytes, ListSnapshot* out) {
    if (bytes.size() < kClipboardHeadBytes) return -1;
    ByteReader in(memorySource(bytes), 1 << 16);
    ListSnapshot head;
    head.op = in.i32();
    std::int32_t count = in.i32();
    in.skip(4);
    head.mode = in.i32();
    head.anchor = in.i32();
    head.position = in.i32();
    in.text(head.header.versionTag);
    in.skip(3);
    head.header.pointCount = in.i32();
    in.text(head.header.testingUnit);
    in.text(head.header.projectName);
    in.skip(2);
    in.text(head.header.extraInfo);
    in.skip(2);
    if (!in.ok() || count < 1 || count > kMaxPoints) return -1;
    if (head.mode != 1 && head.mode != 2) return -1;
    if (head.mode == 1 && count != 1) return -1;
    if (std::uint64_t(count) * kClipboardPointImageBytes > in.remaining()) return -1;
    if (out) head.points.resize(count);
    for (int i = 0; i < count; ++i)
        if (!readPoint(in, out ? &head.points[i] : nullptr)) return -1;
    if (out) *out = std::move(head);
    return count;
}

}  // namespace

std::string EncodeClipboardBlock(const ListSnapshot& s) {
    ByteWriter w;
    writeHead(w, s);
    for (const TestPoint& p : s.points) writePoint(w, p);
    return w.take();
}

std::optional<ListSnapshot> DecodeClipboardBlock(std::string_view bytes) {
    ListSnapshot s;
    if (walkBlock(bytes, &s) < 0) return std::nullopt;
    return s;
}

int ClipboardBlockPointCount(std::string_view bytes) {
    return walkBlock(bytes, nullptr);
}

}  // namespace sondara
