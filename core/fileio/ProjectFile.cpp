#include "core/fileio/ProjectFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "core/app/RunLog.h"
#include "core/base/Prompter.h"
#include "core/base/RecordCodec.h"
#include "core/base/TrNoop.h"
#include "core/fileio/LegacyFile.h"

namespace sondara {

namespace {

// The file ends inside its original set (the set 还原 goes back to).
constexpr const char* kMsgOriginalPointsLost =
    "原始数据不完整，[%d]个原始测点第[%d]个测点以后数据丢失！";
constexpr const char* kMsgOriginalHeaderLost = "原始数据不完整，原始测点数据丢失！";

constexpr int kMaxCount = 9999;   // any count stored in a record
constexpr int kMaxPoints = 9998;  // points of one set

// A document the reader would refuse is not written.
constexpr const char* kMsgNoPointsToSave = SONDARA_TR_NOOP("sondara", "没有测点，不能保存！");
constexpr const char* kMsgTooManyPointsToSave = "测点数[%d]超过%d个，不能保存！";
constexpr const char* kMsgRecordTooLong = "第[%d]个测点的数据超过%d个，不能保存！";
constexpr std::size_t kHeaderBytes = 209;

std::string format(const char* fmt, int a, int b = 0) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

bool isLegacy(int code) {
    return code == 1 || code == 2 || code == 3 || code == 5;
}

// A count field: 0..9999; out of range fails the record.
bool readCount(ByteReader& in, int& count) {
    std::int32_t c = in.i32();
    if (!in.ok() || c < 0 || c > kMaxCount) {
        count = 0;
        in.fail();
        return false;
    }
    count = c;
    return true;
}

void applyCastingDateRule(TestPoint& p) {
    if (textOf(p.castingDate).size() <= 5)
        std::memcpy(p.castingDate.data(), p.testDateTime.data(), 20);
}

PointImage imageOfCode(int code) {
    return code == 7 ? PointImage::F16 : code == 6 ? PointImage::F15 : PointImage::F4;
}

bool readFixedPart(ByteReader& in, int code, TestPoint& p) {
    if (!readPointImage(in, imageOfCode(code), p)) return false;
    applyCastingDateRule(p);
    return true;
}

// A mark's position follows from its depth; a point without a usable wave speed or
// sample interval keeps the stored position instead of an undefined result.
// The depth was stored as a float computed from the mark's sample: 168 samples may
// come back as 167.99999. A tolerance far below a sample keeps the mark where it was
// placed instead of moving it one sample on every save and reload. The program keeps
// a depth in step with its mark whenever the head, the wave speed or the sample
// interval changes (RederiveDefectDepths), so a depth that points off the trace is what
// the file says and the mark is drawn there, as every reader of these files places it.
void recomputeMarkPositions(TestPoint& p) {
    constexpr double kTolerance = 1e-4;
    for (PileMark& m : p.defects) {
        double x = static_cast<double>(m.depth) / p.waveSpeed / p.sampleInterval * 2000000.0;
        double k = std::trunc(x + (x < 0 ? -kTolerance : kTolerance));
        double pos = p.headIndex + k;
        if (std::isfinite(pos) && pos >= std::numeric_limits<int>::min() &&
            pos <= std::numeric_limits<int>::max())
            m.position = static_cast<int>(pos);
    }
}

bool readVariablePart(ByteReader& in, int code, TestPoint& p) {
    int n = 0;
    if (!readCount(in, n) || !in.floats(p.rawSamples, n)) return false;
    if (in.remaining() < 4) {  // the record ends after its raw samples
        p.samples = p.rawSamples;
        return true;
    }
    if (!readCount(in, n) || !in.floats(p.samples, n)) return false;
    if (!readCount(in, n)) return false;
    if (static_cast<std::uint64_t>(n) * kProcessStepBytes > in.remaining()) return in.fail(), false;
    p.steps.resize(n);
    for (ProcessStep& s : p.steps) {
        if (!readStep(in, s)) return false;
        if (code == 4 && s.kind == 1) s.kind = static_cast<int>(ProcessKind::SimpleIntegrate);
    }
    if (!readStep(in, p.lastParams)) return false;
    if (!readCount(in, n)) return false;
    if (static_cast<std::uint64_t>(n) * kPileMarkBytes > in.remaining()) return in.fail(), false;
    p.defects.resize(n);
    for (PileMark& m : p.defects)
        if (!readMark(in, m)) return false;
    recomputeMarkPositions(p);
    if (!readCount(in, n) || !in.ints(p.spectrumMarks, n)) return false;
    if (!readCount(in, n) || !in.ints(p.correlationMarks, n)) return false;
    if (!readCount(in, n) || !in.ints(p.waveletMarkPanes, n) || !in.ints(p.waveletMarkPositions, n))
        return false;
    p.checked = in.i32();
    p.headSetFlag = in.i32();
    p.toeSetFlag = in.i32();
    in.text(p.extraText);
    return in.ok();
}

// Reads a header of any version; false when the tag is unknown or bytes run out.
bool readAnyHeader(ByteReader& in, ProjectInfo& info, int& code) {
    info = ProjectInfo{};
    code = 0;
    if (!in.read(info.versionTag.data(), 5)) return false;
    code = versionCodeOfTag(textOf(info.versionTag));
    if (code == 0) return false;
    if (isLegacy(code)) return readLegacyHeader(in, code, info);
    unsigned char img[kHeaderBytes - 5];
    if (!in.read(img, sizeof img)) return false;
    ImageIn f(img, sizeof img);
    f.get(info.pointCount);
    f.text(info.testingUnit);
    f.text(info.projectName);
    f.text(info.extraInfo);
    return true;
}

bool validCount(int n) {
    return n >= 1 && n <= kMaxPoints;
}

}  // namespace

int versionCodeOfTag(std::string_view tag) {
    std::string_view t = trimBlanks(tag.substr(0, std::min<std::size_t>(tag.size(), 5)));
    static constexpr std::pair<const char*, int> kTags[] = {
        {"CWH01", 1}, {"QAR02", 2}, {"QAR03", 3}, {"QAR04", 4},
        {"QAR05", 5}, {"QAR15", 6}, {"QAR16", 7}};
    for (auto [name, code] : kTags)
        if (t == name) return code;
    return 0;
}

void writeHeader(ByteWriter& out, const ProjectInfo& info) {
    unsigned char img[kHeaderBytes];
    ImageOut f(img, sizeof img);
    f.text(info.versionTag);
    f.put(info.pointCount);
    f.text(info.testingUnit);
    f.text(info.projectName);
    f.text(info.extraInfo);
    out.bytes(img, sizeof img);
}

bool PointRecordReader(ByteReader& in, int versionCode, TestPoint& point, int pointIndex) {
    if (isLegacy(versionCode)) return readLegacyPointRecord(in, versionCode, point, pointIndex);
    if (versionCode != 4 && versionCode != 6 && versionCode != 7) return false;
    return readFixedPart(in, versionCode, point) && readVariablePart(in, versionCode, point);
}

void writePointRecord(ByteWriter& out, const TestPoint& p) {
    writePointImage(out, PointImage::F16, p);

    out.i32(p.rawCount());
    out.floats(p.rawSamples);
    out.i32(p.sampleCount());
    out.floats(p.samples);
    out.i32(p.stepCount());
    for (const ProcessStep& s : p.steps) writeStep(out, s);
    writeStep(out, p.lastParams);
    out.i32(p.defectCount());
    for (const PileMark& m : p.defects) writeMark(out, m);
    out.i32(static_cast<std::int32_t>(p.spectrumMarks.size()));
    out.ints(p.spectrumMarks);
    out.i32(static_cast<std::int32_t>(p.correlationMarks.size()));
    out.ints(p.correlationMarks);
    // The two wavelet arrays are parallel; a mismatch never reaches the file.
    std::size_t wn = std::min(p.waveletMarkPanes.size(), p.waveletMarkPositions.size());
    out.i32(static_cast<std::int32_t>(wn));
    out.bytes(p.waveletMarkPanes.data(), wn * 4);
    out.bytes(p.waveletMarkPositions.data(), wn * 4);
    out.i32(p.checked);
    out.i32(p.headSetFlag);
    out.i32(p.toeSetFlag);
    out.text(p.extraText);
}

// A read document is as on disk; merged files make a new, unsaved project.
void finishLoad(CSondaraDoc& doc, bool merged) {
    doc.loaded = 1;
    doc.recomputeDisplayRanges();
    doc.rebuildCheckedList();
    doc.selectPoint(doc.points.empty() ? -1 : 0);
    doc.modified = false;
    if (merged)
        doc.commitChange(DocChange::PointList);
    else
        doc.announce(DocChange::PointList);
}

std::string ReadProject(CSondaraDoc& doc, const std::string& path, std::string* warning) {
    std::string err;
    auto src = openFileSource(path, &err);
    if (!src) {
        logLine("打开文件==>“" + path + "”");
        doc.clear();
        doc.lastError = "文件路径错误";
        doc.announce(DocChange::PointList);
        return doc.lastError;
    }
    ByteReader in(std::move(src));
    return ReadProject(doc, in, path, warning);
}

std::string ReadProject(CSondaraDoc& doc, ByteReader& in, const std::string& displayPath,
                        std::string* warning) {
    logLine("打开文件==>“" + displayPath + "”");
    doc.clear();
    doc.lastError.clear();
    if (warning) warning->clear();

    auto fail = [&](std::string msg) {
        doc.clear();
        doc.lastError = std::move(msg);
        doc.announce(DocChange::PointList);
        return doc.lastError;
    };

    int code = 0;
    ProjectInfo info;
    bool headerOk = readAnyHeader(in, info, code);
    if (!headerOk) return fail(kMsgNotDataFile);
    doc.info = info;

    logLine(format("打开文件==>测点个数：%d，版本：%d", info.pointCount, code));
    if (!validCount(info.pointCount)) {
        logLine("打开文件==>测点数非法，终止读取");
        return fail(format(kMsgBadPointCount, info.pointCount));
    }

    const int declared = info.pointCount;
    bool currentShort = false;
    for (int i = 0; i < declared; ++i) {
        TestPoint p;
        if (!PointRecordReader(in, code, p, i)) {
            std::string msg = format(kMsgPointsLost, declared, i);
            if (i == 0) {
                logLine("打开文件==>测点信息错误，终止读取");
                return fail(msg);
            }
            logLine(msg);
            if (warning) *warning = msg;
            currentShort = true;
            break;
        }
        doc.points.push_back(std::move(p));
    }
    doc.info.pointCount = doc.pointCount();

    if (isLegacy(code)) {
        doc.originalInfo = doc.info;
        doc.originalPoints = doc.points;
        for (std::size_t i = 0; i < doc.points.size(); ++i) doc.originalPoints[i].extraText = {};
    } else {
        // The original set; anything wrong with it leaves the set empty or short. A
        // set that the file ends inside of is a partial read like a short current set:
        // its records up to the broken one load, the warning says what was lost, and
        // originalInfo keeps the count its header declared, so that 还原 can tell the
        // set is not whole and refuse to replace the current points by it.
        std::string lost;
        ProjectInfo oinfo;
        int ocode = 0;
        in.resetFail();
        const std::uint64_t left = in.remaining();
        if (!readAnyHeader(in, oinfo, ocode)) {
            // cut inside the header (a tag of another kind is no original set at all)
            if (!currentShort && ((left > 0 && left < 5) || ocode != 0))
                lost = kMsgOriginalHeaderLost;
        } else if (validCount(oinfo.pointCount)) {
            doc.originalInfo = oinfo;
            for (int i = 0; i < oinfo.pointCount; ++i) {
                TestPoint p;
                if (!PointRecordReader(in, ocode, p, i)) {
                    // what follows a broken record cannot be located: reading stops
                    if (!currentShort) lost = format(kMsgOriginalPointsLost, oinfo.pointCount, i);
                    break;
                }
                doc.originalPoints.push_back(std::move(p));
            }
            if (lost.empty())
                doc.originalInfo.pointCount = static_cast<int>(doc.originalPoints.size());
        }
        if (!lost.empty()) {
            logLine(lost);
            if (warning) *warning = lost;
        }
    }

    logLine("打开文件==>打开文件完成");
    finishLoad(doc);
    return {};
}

namespace {
bool writeDocument(ByteWriter& w, const ProjectInfo& info, const std::vector<TestPoint>& pts,
                   const std::vector<int>* only) {
    ProjectInfo h = info;
    setVersionTag(h, "QAR16");
    h.pointCount = static_cast<int>(only ? only->size() : pts.size());
    writeHeader(w, h);
    if (only) {
        for (int i : *only) writePointRecord(w, pts[i]);
    } else {
        for (const TestPoint& p : pts) writePointRecord(w, p);
    }
    return w.ok();
}
}  // namespace

namespace {

// Why a set of these points (all, or the `only` indices) could not be read back
// (empty: it can). A data file's set holds 1..9998 points (the original set may be
// missing), and no count in a record goes beyond 9999.
std::string unreadableReason(const std::vector<TestPoint>& pts, const std::vector<int>* only,
                             bool mayBeEmpty) {
    const std::size_t count = only ? only->size() : pts.size();
    if (count == 0 && !mayBeEmpty) return kMsgNoPointsToSave;
    if (count > static_cast<std::size_t>(kMaxPoints))
        return format(kMsgTooManyPointsToSave, static_cast<int>(count), kMaxPoints);
    auto tooLong = [](std::size_t n) { return n > static_cast<std::size_t>(kMaxCount); };
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t i = only ? static_cast<std::size_t>((*only)[k]) : k;
        const TestPoint& p = pts[i];
        if (tooLong(p.rawSamples.size()) || tooLong(p.samples.size()) || tooLong(p.steps.size()) ||
            tooLong(p.defects.size()) || tooLong(p.spectrumMarks.size()) ||
            tooLong(p.correlationMarks.size()) ||
            tooLong(std::min(p.waveletMarkPanes.size(), p.waveletMarkPositions.size())))
            return format(kMsgRecordTooLong, static_cast<int>(i) + 1, kMaxCount);
    }
    return {};
}

}  // namespace

bool WriteProject(CSondaraDoc& doc, const std::string& path, std::string* error) {
    // never a file that cannot be opened again; the previous file stays as it is
    std::string why = unreadableReason(doc.points, nullptr, false);
    if (why.empty()) why = unreadableReason(doc.originalPoints, nullptr, true);
    if (!why.empty()) {
        if (error) *error = why;
        return false;
    }
    setVersionTag(doc.info, "QAR16");
    setVersionTag(doc.originalInfo, "QAR16");
    doc.info.pointCount = doc.pointCount();
    doc.originalInfo.pointCount = static_cast<int>(doc.originalPoints.size());
    AtomicFileWriter f(path);
    if (!f.isOpen()) {
        if (error) *error = f.error();
        return false;
    }
    writeDocument(f.writer(), doc.info, doc.points, nullptr);
    writeDocument(f.writer(), doc.originalInfo, doc.originalPoints, nullptr);
    bool ok = f.commit();
    if (!ok && error) *error = f.error();
    return ok;
}

bool SaveChecked(const CSondaraDoc& doc, const std::string& path, std::string* error) {
    std::vector<int> checked;
    for (int i : doc.checkedList)
        if (doc.validPoint(i)) checked.push_back(i);
    if (checked.empty()) {
        if (error) *error = "请选择要保存的测点";
        return false;
    }
    if (std::string why = unreadableReason(doc.points, &checked, false); !why.empty()) {
        if (error) *error = why;
        return false;
    }
    AtomicFileWriter f(path);
    if (!f.isOpen()) {
        if (error) *error = f.error();
        return false;
    }
    writeDocument(f.writer(), doc.info, doc.points, &checked);
    // The original records at the same indices; a point without an original record
    // is written from its current record so that both sets keep the same length.
    ProjectInfo h = doc.info;
    setVersionTag(h, "QAR16");
    h.pointCount = static_cast<int>(checked.size());
    writeHeader(f.writer(), h);
    for (int i : checked) {
        const TestPoint& p =
            i < static_cast<int>(doc.originalPoints.size()) ? doc.originalPoints[i] : doc.points[i];
        writePointRecord(f.writer(), p);
    }
    bool ok = f.commit();
    if (!ok && error) *error = f.error();
    return ok;
}

void MergeFiles(CSondaraDoc& doc, const std::vector<std::string>& paths, Prompter& prompter,
                std::vector<std::string>* partlyRead) {
    doc.clear();
    bool first = true;
    for (const std::string& path : paths) {
        auto src = openFileSource(path);
        if (!src) {
            std::string q = "文件“" + path + "”路径错误，是否继续打开其他文件？";
            if (!prompter.askYesNo(q)) break;
            continue;
        }
        ByteReader in(std::move(src));
        ProjectInfo h;
        int code = 0;
        if (!readAnyHeader(in, h, code) || !validCount(h.pointCount)) continue;
        if (first) {
            doc.info = h;
            doc.info.pointCount = 0;
            first = false;
        }
        for (int i = 0; i < h.pointCount; ++i) {
            TestPoint p;
            bool ok = PointRecordReader(in, code, p, doc.pointCount());
            doc.points.push_back(std::move(p));
            if (!ok) {
                // kept as it came out; the rest of this file cannot be located
                if (partlyRead)
                    partlyRead->push_back(path + ": " + format(kMsgPointsLost, h.pointCount, i));
                break;
            }
        }
        doc.info.pointCount = doc.pointCount();
    }
    if (!doc.points.empty()) {
        doc.originalInfo = doc.info;
        doc.originalPoints = doc.points;
        for (TestPoint& p : doc.originalPoints) p.extraText = {};
    }
    finishLoad(doc, true);
}

}  // namespace sondara
