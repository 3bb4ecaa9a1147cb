#include "cli/CliDoc.h"

#include <algorithm>
#include <set>

#include "core/fileio/ProjectFile.h"

namespace sondara::cli {

namespace {
// Documents that were read only partly in this run.
std::set<const CSondaraDoc*>& partlyRead() {
    static std::set<const CSondaraDoc*> docs;
    return docs;
}
}  // namespace

int refusePartialFile(const std::string& what) {
    std::fprintf(stderr,
                 "%s: 文件只读出了一部分测点，未写入任何文件（--allow-partial 写入已读出的测点）\n"
                 "%s: the file read only partly; nothing was written (--allow-partial writes the "
                 "points read)\n",
                 what.c_str(), what.c_str());
    return kExitPartial;
}

GlobalOptions& globalOptions() {
    static GlobalOptions o;
    return o;
}

int loadProject(CSondaraDoc& doc, const std::string& path, LoadFor purpose) {
    partlyRead().erase(&doc);
    std::string warning;
    std::string msg = ReadProject(doc, path, &warning);
    if (!msg.empty()) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), msg.c_str());
        return kExitFile;
    }
    if (!warning.empty()) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), warning.c_str());
        partlyRead().insert(&doc);
        if (purpose == LoadFor::Writing && !globalOptions().allowPartial)
            return refusePartialFile(path);
    }
    return kExitOk;
}

int saveProject(CSondaraDoc& doc, const std::string& path) {
    if (partlyRead().count(&doc) && !globalOptions().allowPartial) return refusePartialFile(path);
    std::string error;
    if (!WriteProject(doc, path, &error)) {
        std::fprintf(stderr, "保存失败：%s: %s\n", path.c_str(), error.c_str());
        return kExitFile;
    }
    return kExitOk;
}

std::string pointIndices(const CSondaraDoc& doc, const std::vector<long>& numbers,
                         std::vector<int>& out) {
    out.clear();
    if (numbers.empty()) {
        for (int i = 0; i < doc.pointCount(); ++i) out.push_back(i);
        return "";
    }
    for (long n : numbers) {
        if (n > doc.pointCount())
            return "point " + std::to_string(n) + " does not exist (" +
                   std::to_string(doc.pointCount()) + " points)";
        out.push_back(static_cast<int>(n - 1));
    }
    return "";
}

}  // namespace sondara::cli
