#include "core/output/OutputFile.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace sondara {

std::string TempPathBeside(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    for (;;) {
        std::string p = target + ".~" + std::to_string(::getpid()) + "-" +
                        std::to_string(counter.fetch_add(1)) + ".tmp";
        std::error_code ec;
        if (!std::filesystem::exists(p, ec)) return p;
    }
}

bool ReplaceWithTemp(const std::string& temp, const std::string& target, std::string& error) {
    if (std::rename(temp.c_str(), target.c_str()) == 0) return true;
    error = std::strerror(errno);
    std::remove(temp.c_str());
    return false;
}

}  // namespace sondara
