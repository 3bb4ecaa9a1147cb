#include "cli/CliDoc.h"

#include <algorithm>

#include "core/fileio/ProjectFile.h"

namespace sondara::cli {

int loadProject(CSondaraDoc& doc, const std::string& path) {
    std::string warning;
    std::string msg = ReadProject(doc, path, &warning);
    if (!msg.empty()) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), msg.c_str());
        return kExitFile;
    }
    if (!warning.empty()) std::fprintf(stderr, "%s: %s\n", path.c_str(), warning.c_str());
    return kExitOk;
}

int saveProject(CSondaraDoc& doc, const std::string& path) {
    std::string error;
    if (!WriteProject(doc, path, &error)) {
        std::fprintf(stderr, "保存失败：%s: %s\n", path.c_str(), error.c_str());
        return kExitFile;
    }
    return kExitOk;
}

bool takeYesNo(Args& args) {
    bool answer = false;
    auto it = args.begin();
    while (it != args.end()) {
        if (*it == "--yes" || *it == "--no") {
            answer = *it == "--yes";
            it = args.erase(it);
        } else {
            ++it;
        }
    }
    return answer;
}

}  // namespace sondara::cli
