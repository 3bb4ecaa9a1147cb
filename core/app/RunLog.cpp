#include "core/app/RunLog.h"

#include <sys/stat.h>

#include <cstdio>

#include "core/app/AppPaths.h"
#include "core/base/TextCodec.h"

namespace sondara {

namespace {
struct ChosenLog {
    bool chosen = false;
    std::string path;
};
ChosenLog& chosenLog() {
    static ChosenLog c;
    return c;
}
}  // namespace

RunLog& RunLog::instance() {
    static RunLog log(chosenLog().chosen ? chosenLog().path : logFilePath());
    return log;
}

void RunLog::chooseProcessLog(const std::string& path) {
    chosenLog() = {true, path};
    instance().setPath(path);
}

RunLog::RunLog(std::string path) : path_(std::move(path)) {}

void RunLog::makeWritable() {
    if (path_.empty()) return;
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0) ::chmod(path_.c_str(), st.st_mode | S_IWUSR);
}

void RunLog::write(const std::string& messageUtf8) {
    if (path_.empty()) return;
    std::time_t now = clock_ ? clock_() : std::time(nullptr);
    if (hasLast_ && now - lastTime_ <= 2 && now >= lastTime_ && messageUtf8 == lastMessage_) return;
    lastTime_ = now;
    lastMessage_ = messageUtf8;
    hasLast_ = true;

    std::FILE* f = std::fopen(path_.c_str(), "ab");
    if (!f) return;
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    if (size > 98000) {
        std::fclose(f);
        std::remove(path_.c_str());
        f = std::fopen(path_.c_str(), "ab");
        if (!f) return;
    }
    std::tm tm{};
    localtime_r(&now, &tm);
    char head[96];
    std::snprintf(head, sizeof head, "%d/%d/%d||%d:%d:%02d____", tm.tm_year + 1900, tm.tm_mon + 1,
                  tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
    std::string line = utf8ToGbk("时间：") + head + utf8ToGbk(messageUtf8) + "\n";
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
}

void logLine(const std::string& messageUtf8) {
    RunLog::instance().write(messageUtf8);
}

}  // namespace sondara
