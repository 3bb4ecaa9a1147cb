// File commands: info, dump, convert, merge, save-checked.
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "cli/JsonWriter.h"
#include "cli/TextWidth.h"
#include "core/base/TextCodec.h"
#include "core/fileio/ProjectFile.h"
#include "core/model/NameLists.h"

namespace sondara::cli {
namespace {

template <std::size_t N>
std::string utf8(const FixedText<N>& t) {
    return gbkToUtf8(textOf(t));
}

void stepJson(JsonWriter& j, const ProcessStep& s) {
    j.beginObject();
    j.field("kind", s.kind);
    j.field("filterType", s.filterType).field("upperFreqHz", s.upperFreqHz);
    j.field("lowerFreqHz", s.lowerFreqHz).field("ampLaw", s.ampLaw).field("ampFactor", s.ampFactor);
    j.field("ampStart", s.ampStart).field("smoothPoints", s.smoothPoints);
    j.field("dcPartial", s.dcPartial).field("dcStart", s.dcStart);
    j.field("rotPartial", s.rotPartial).field("rotStart", s.rotStart);
    j.field("rotAngle", s.rotAngle).field("rotScale", s.rotScale);
    j.field("linZeroMode", s.linZeroMode).field("linZeroStart", s.linZeroStart);
    j.field("nonlinZeroMode", s.nonlinZeroMode).field("nonlinZeroStart", s.nonlinZeroStart);
    j.field("frontZeroEnd", s.frontZeroEnd).field("backZeroStart", s.backZeroStart);
    j.field("scaleStart", s.scaleStart).field("scaleEnd", s.scaleEnd);
    j.field("scaleFactor", s.scaleFactor).field("shiftSamples", s.shiftSamples);
    j.field("shiftMv", s.shiftMv).field("shiftPartial", s.shiftPartial);
    j.field("shiftStart", s.shiftStart).field("shiftEnd", s.shiftEnd);
    j.field("rangeMax", s.rangeMax).field("rangeMin", s.rangeMin);
    j.endObject();
}

void intsJson(JsonWriter& j, std::string_view k, const std::vector<std::int32_t>& v) {
    j.key(k).beginArray();
    for (auto x : v) j.value(x);
    j.endArray();
}

void pointJson(JsonWriter& j, const CSondaraDoc& doc, const TestPoint& p) {
    j.beginObject();
    j.field("pileNo", utf8(p.pileNo));
    j.field("pileTypeIndex", p.pileTypeIndex);
    j.field("pileTypeText", utf8(p.pileTypeText));
    j.field("pileDiameter", p.pileDiameter);
    j.field("testDateTime", utf8(p.testDateTime));
    j.field("castingDate", utf8(p.castingDate));
    j.field("remark", utf8(p.remark));
    j.field("sensorType", p.sensorType);
    j.field("gain", p.gain);
    j.field("triggerLevel", p.triggerLevel);
    j.field("pileLength", p.pileLength);
    j.field("waveSpeed", p.waveSpeed);
    j.field("sampleInterval", p.sampleInterval);
    j.field("recordedLength", p.recordedLength);
    j.field("headIndex", p.headIndex);
    j.field("toeIndex", p.toeIndex);
    j.field("integrityClass", p.integrityClass);
    j.field("rawCount", p.rawCount());
    j.field("sampleCount", p.sampleCount());
    j.key("steps").beginArray();
    for (const ProcessStep& s : p.steps) stepJson(j, s);
    j.endArray();
    j.key("lastParams");
    stepJson(j, p.lastParams);
    j.key("defects").beginArray();
    for (const PileMark& m : p.defects) {
        j.beginObject();
        j.field("position", m.position).field("kind", m.kind);
        j.field("name", utf8(m.name)).field("remark", utf8(m.remark)).field("depth", m.depth);
        j.endObject();
    }
    j.endArray();
    intsJson(j, "spectrumMarks", p.spectrumMarks);
    intsJson(j, "correlationMarks", p.correlationMarks);
    j.key("waveletMarks").beginArray();
    for (std::size_t i = 0; i < p.waveletMarkPositions.size() && i < p.waveletMarkPanes.size();
         ++i) {
        j.beginArray().value(p.waveletMarkPanes[i]).value(p.waveletMarkPositions[i]).endArray();
    }
    j.endArray();
    j.field("checked", p.checked);
    j.field("headSetFlag", p.headSetFlag);
    j.field("toeSetFlag", p.toeSetFlag);
    (void)doc;
    j.endObject();
}

void setJson(JsonWriter& j, const CSondaraDoc& doc, const ProjectInfo& info,
             const std::vector<TestPoint>& pts) {
    j.field("version", versionTagOf(info));
    j.field("versionCode", versionCodeOfTag(textOf(info.versionTag)));
    j.field("pointCount", static_cast<int>(pts.size()));
    j.field("testingUnit", utf8(info.testingUnit));
    j.field("projectName", utf8(info.projectName));
    j.key("points").beginArray();
    for (const TestPoint& p : pts) pointJson(j, doc, p);
    j.endArray();
}

const char* kInfoUsage = "usage: sondara-cli info FILE [--json]\n";
const char* kDumpUsage = "usage: sondara-cli dump FILE --points N [--raw] [--original]\n";
const char* kConvertUsage = "usage: sondara-cli convert IN OUT\n";
const char* kMergeUsage = "usage: sondara-cli merge OUT IN... [--continue]\n";
const char* kSaveCheckedUsage = "usage: sondara-cli save-checked IN OUT\n";

// `IN OUT`: the two paths of the commands that read one file and write another.
std::string parseInOut(const Args& args, const char* name, std::string& in, std::string& out) {
    CLI::App app{name};
    app.add_option("IN", in)->required();
    app.add_option("OUT", out)->required();
    return parseCommandLine(app, args);
}

int runInfo(const Args& args) {
    std::string path;
    bool json = false;
    CLI::App app{"info"};
    app.add_option("FILE", path)->required();
    app.add_flag("--json", json);
    if (std::string why = parseCommandLine(app, args); !why.empty())
        return usageError("info", why, kInfoUsage);
    CSondaraDoc doc;
    if (int rc = loadProject(doc, path)) return rc;
    if (json) {
        JsonWriter j;
        j.beginObject();
        setJson(j, doc, doc.info, doc.points);
        j.key("original").beginObject();
        setJson(j, doc, doc.originalInfo, doc.originalPoints);
        j.endObject();
        j.endObject();
        std::printf("%s\n", j.str().c_str());
        return kExitOk;
    }
    std::printf("版本 version: %s\n", versionTagOf(doc.info).c_str());
    std::printf("检测单位: %s\n", utf8(doc.info.testingUnit).c_str());
    std::printf("工程名称: %s\n", utf8(doc.info.projectName).c_str());
    std::printf("测点数 points: %d   桩数 piles: %d   原始测点 original: %zu\n", doc.pointCount(),
                doc.pileCount(), doc.originalPoints.size());
    // Columns are padded by terminal width: pile numbers, pile types and classes mix
    // Chinese and Latin characters.
    auto row = [](const std::vector<std::string>& cells) {
        static constexpr int kWidths[] = {5, 12, 14, 6, 7, 6, 8, 6, 6, 5, 5, 8};
        static constexpr bool kRight[] = {false, false, false, true, true, true,
                                          true,  true,  true,  true, true, false};
        std::string line;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (c) line += ' ';
            if (c < std::size(kWidths))
                line += kRight[c] ? padLeft(cells[c], kWidths[c]) : padRight(cells[c], kWidths[c]);
            else
                line += cells[c];
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        std::printf("%s\n", line.c_str());
    };
    auto fmt = [](const char* f, auto v) {
        char b[64];
        std::snprintf(b, sizeof b, f, v);
        return std::string(b);
    };
    row({"序号", "桩号", "桩型", "桩径", "桩长", "波速", "采样间隔", "样点", "桩头", "桩底", "处理",
         "类别", "缺陷"});
    for (int i = 0; i < doc.pointCount(); ++i) {
        const TestPoint& p = doc.points[i];
        std::string defects;
        for (const PileMark& m : p.defects) {
            char b[128];
            std::snprintf(b, sizeof b, "%s%s@%.2fm", defects.empty() ? "" : ",",
                          utf8(m.name).c_str(), m.depth);
            defects += b;
        }
        row({std::to_string(i + 1), utf8(p.pileNo), doc.pileTypeText(i),
             std::to_string(p.pileDiameter), fmt("%.2f", p.pileLength), std::to_string(p.waveSpeed),
             fmt("%.1f", p.sampleInterval), std::to_string(p.rawCount()),
             std::to_string(p.headIndex), std::to_string(p.toeIndex), std::to_string(p.stepCount()),
             doc.classText(i), defects});
    }
    return kExitOk;
}

int runDump(const Args& args) {
    std::string path;
    long point = 0;
    bool raw = false, original = false;
    CLI::App app{"dump"};
    app.add_option("FILE", path)->required();
    app.add_option("--point,--points", point)->required()->check(CLI::Range(1L, 999999999L));
    app.add_flag("--raw", raw);
    app.add_flag("--original", original);
    if (std::string why = parseCommandLine(app, args); !why.empty())
        return usageError("dump", why, kDumpUsage);
    CSondaraDoc doc;
    if (int rc = loadProject(doc, path)) return rc;
    const auto& pts = original ? doc.originalPoints : doc.points;
    if (point > static_cast<long>(pts.size()))
        return printError("point " + std::to_string(point) + " does not exist (" +
                          std::to_string(pts.size()) + " points)"),
               kExitUsage;
    const TestPoint& p = pts[point - 1];
    for (float v : raw ? p.rawSamples : p.samples) std::printf("%s\n", formatSample(v).c_str());
    return kExitOk;
}

int runConvert(const Args& args) {
    std::string in, out;
    if (std::string why = parseInOut(args, "convert", in, out); !why.empty())
        return usageError("convert", why, kConvertUsage);
    if (int rc = checkOutputs({out})) return rc;
    CSondaraDoc doc;
    if (int rc = loadProject(doc, in, LoadFor::Writing)) return rc;
    return saveProject(doc, out);
}

int runMerge(const Args& args) {
    std::string out;
    std::vector<std::string> in;
    bool cont = false;
    CLI::App app{"merge"};
    app.add_option("OUT", out)->required();
    app.add_option("IN", in)->required();
    app.add_flag("--continue", cont);
    if (std::string why = parseCommandLine(app, args); !why.empty())
        return usageError("merge", why, kMergeUsage);
    if (int rc = checkOutputs({out})) return rc;
    CSondaraDoc doc;
    CliPrompter prompter(cont);
    std::vector<std::string> partial;
    MergeFiles(doc, in, prompter, &partial);
    // 否 to "路径错误，是否继续" stops the merge: nothing is written
    if (prompter.refusals() > 0) {
        printError(out + ": 合并已停止，未写入文件（--continue 跳过无法打开的文件）");
        printError(out +
                   ": the merge stopped at a file that cannot be opened; nothing was "
                   "written (--continue skips such files)");
        return kExitFile;
    }
    if (doc.points.empty()) return printError("no points were read"), kExitFile;
    for (const std::string& p : partial) printError(p);
    // a file read only partly is merged only on request, as every writing command does
    if (!partial.empty() && !globalOptions().allowPartial) return refusePartialFile(out);
    return saveProject(doc, out);
}

int runSaveChecked(const Args& args) {
    std::string in, out;
    if (std::string why = parseInOut(args, "save-checked", in, out); !why.empty())
        return usageError("save-checked", why, kSaveCheckedUsage);
    if (int rc = checkOutputs({out})) return rc;
    CSondaraDoc doc;
    if (int rc = loadProject(doc, in, LoadFor::Writing)) return rc;
    if (doc.checkedList.empty()) return printError("请选择要保存的测点"), kExitUsage;
    std::string error;
    if (!SaveChecked(doc, out, &error)) {
        printError("保存失败：" + error);
        return kExitFile;
    }
    std::fprintf(stderr, "保存完成\n");
    return kExitOk;
}

CliRegistrar r1{
    {"info", "show the header and points of a data file",
     std::string(kInfoUsage) +
         "Prints the project header and one line per point; --json prints every field,\n"
         "the processing chains, marks and the original set as JSON (UTF-8).\n"
         "Exit codes: 0 done, 1 bad arguments, 2 FILE cannot be read (a file read only partly\n"
         "shows the points read and says so on stderr).",
     runInfo}};
CliRegistrar r2{
    {"dump", "print the samples of one point",
     std::string(kDumpUsage) +
         "Prints the processed samples of point N (1-based, as 序号), one per line (%.9g);\n"
         "--raw prints the recorded samples, --original uses the original set.\n"
         "Exit codes: 0 done, 1 bad arguments or no such point, 2 FILE cannot be read.",
     runDump}};
CliRegistrar r3{{"convert", "read any data file version and write it as QAR16",
                 std::string(kConvertUsage) +
                     "Reads IN (any readable version) and writes OUT as \"QAR16\" with both sets.\n"
                     "OUT is replaced only when it was written completely. A file that reads only\n"
                     "partly is not written (exit 3) unless --allow-partial is given.",
                 runConvert}};
CliRegistrar r4{
    {"merge", "concatenate the point lists of several data files",
     std::string(kMergeUsage) +
         "Merges the point lists of IN... in order into OUT (\"QAR16\"). A path that cannot\n"
         "be opened asks \"路径错误，是否继续\": the answer is 否 and the merge stops with\n"
         "nothing written (exit 2) unless --continue is given, which skips the path.\n"
         "Exit codes: 0 done, 1 bad arguments, 2 a file cannot be read or written or the\n"
         "merge stopped, 3 an input read only partly (see --allow-partial).",
     runMerge}};
CliRegistrar r5{{"save-checked", "write only the checked points",
                 std::string(kSaveCheckedUsage) +
                     "Writes the checked points of IN (current and original records) to OUT.\n"
                     "Exit codes: 0 written, 1 bad arguments or no checked point, 2 a file\n"
                     "cannot be read or written (a read-only OUT is refused), 3 IN read only\n"
                     "partly (see --allow-partial).",
                 runSaveChecked}};

}  // namespace
}  // namespace sondara::cli
