#pragma once
// The run log: one time-stamped line per user-level event, so that a support person
// can see what the user did. Lines are GBK text:
//   时间：2026/12/10||12:5:07____message
// A message equal to the previous one within 2 seconds is dropped; a log longer
// than 98,000 bytes is started anew. Writing never fails visibly. A log with an
// empty path writes nothing.
#include <ctime>
#include <functional>
#include <string>

namespace sondara {

class RunLog {
public:
    // The process-wide log at logFilePath(), or at the path chosen with
    // chooseProcessLog before its first use.
    static RunLog& instance();
    // Chooses the process-wide log file; an empty path means no run log at all
    // (the command line writes one only when asked to).
    static void chooseProcessLog(const std::string& path);

    explicit RunLog(std::string path);
    void write(const std::string& messageUtf8);
    const std::string& path() const { return path_; }

    // Clears a read-only mode bit on the log file (start-up does this once).
    void makeWritable();

    // Tests replace the clock.
    using Clock = std::function<std::time_t()>;
    void setClock(Clock c) { clock_ = std::move(c); }
    void setPath(std::string p) { path_ = std::move(p); }

private:
    std::string path_;
    std::string lastMessage_;
    std::time_t lastTime_ = 0;
    bool hasLast_ = false;
    Clock clock_;
};

// Shorthand for RunLog::instance().write(...).
void logLine(const std::string& messageUtf8);

}  // namespace sondara
