#pragma once
// Shared helpers of the unit tests. Linking this folder also redirects every path
// the program writes outside a project (settings, log, temp) into a private
// temporary directory, so that no test touches the user's home.
#include <sys/types.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "core/base/Prompter.h"

namespace sondara::test {

// Reproducible noise traces: uniform in [-amplitude, amplitude], or standard normal.
std::vector<float> randomTrace(int n, unsigned seed, float amplitude = 1.0f);
std::vector<float> normalTrace(int n, unsigned seed);

// A fresh directory, removed with its contents on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// The directory the whole test process uses for settings, log and temp files.
const std::string& processTempDir();

// Records every text and answers questions from a script (then a default).
class ScriptedPrompter : public Prompter {
public:
    explicit ScriptedPrompter(std::vector<bool> answers = {}, bool defaultAnswer = false)
        : answers_(std::move(answers)), default_(defaultAnswer) {}
    void info(const std::string& text) override { infos.push_back(text); }
    bool askYesNo(const std::string& text) override {
        questions.push_back(text);
        if (next_ < answers_.size()) return answers_[next_++];
        return default_;
    }
    std::vector<std::string> infos;
    std::vector<std::string> questions;

private:
    std::vector<bool> answers_;
    bool default_;
    std::size_t next_ = 0;
};

std::string readFile(const std::string& path);
bool writeFile(const std::string& path, const std::string& bytes);

// Runs a command line through the shell; returns the exit code and fills out/err.
struct RunResult {
    int exitCode = -1;
    std::string out, err;
};
RunResult runCommand(const std::string& commandLine, const std::string& stdinText = {});
// The sondara-cli under test (from $SONDARA_CLI), quoted for the shell.
std::string cliPath();
std::string shellQuote(const std::string& s);

// The names of a folder's entries (what a writer left beside its target).
std::set<std::string> namesIn(const std::string& dir);
// A file's permission bits (0 when it does not exist).
mode_t modeOf(const std::string& path);

}  // namespace sondara::test
