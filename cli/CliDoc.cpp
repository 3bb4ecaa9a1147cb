#include "cli/CliDoc.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>

#include "core/base/ByteIo.h"
#include "core/fileio/ProjectFile.h"

namespace sondara::cli {

namespace {
// "（reason）" when `path` cannot be opened for reading, else "".
std::string osReason(const std::string& path) {
    struct stat st;
    int err = 0;
    if (::stat(path.c_str(), &st) != 0)
        err = errno;
    else if (S_ISDIR(st.st_mode))
        err = EISDIR;
    else if (::access(path.c_str(), R_OK) != 0)
        err = errno;
    return err ? std::string("（") + std::strerror(err) + "）" : std::string();
}

// Documents that were read only partly in this run.
std::set<const CSondaraDoc*>& partlyRead() {
    static std::set<const CSondaraDoc*> docs;
    return docs;
}
}  // namespace

int refusePartialFile(const std::string& what) {
    printError(what +
               ": 文件只读出了一部分测点，未写入任何文件（--allow-partial 写入已读出的测点）");
    printError(what +
               ": the file read only partly; nothing was written (--allow-partial writes the "
               "points read)");
    return kExitPartial;
}

void printError(const std::string& message) {
    const std::string& command = globalOptions().command;
    std::fprintf(stderr, "sondara-cli%s%s: %s\n", command.empty() ? "" : " ", command.c_str(),
                 message.c_str());
}

int checkOutputs(const std::vector<std::string>& paths) {
    for (const std::string& p : paths) {
        if (p.empty()) continue;
        if (std::string why = CheckOutputTarget(p); !why.empty()) {
            printError(why);
            return kExitFile;
        }
    }
    return kExitOk;
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
        // the desktop's bare "文件路径错误" gets the system's reason: a missing file, a
        // folder and a file that may not be read are different mistakes
        printError(path + ": " + msg + osReason(path));
        return kExitFile;
    }
    if (!warning.empty()) {
        printError(path + ": " + warning);
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
        // the writer's reasons name the file; the document's own refusals do not
        printError(error.find(path) == std::string::npos ? "保存失败：" + path + ": " + error
                                                         : "保存失败：" + error);
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
