#pragma once
// Loading and saving a project from CLI commands with the reader's messages on
// stderr, and a prompter that prints messages and answers from --yes/--no.
#include <cstdio>
#include <string>

#include "cli/CliCommand.h"
#include "core/base/Prompter.h"
#include "core/model/SondaraDoc.h"

namespace sondara::cli {

// kExitOk, or kExitFile after printing the reader's message on stderr. A partial
// load prints the lost-points warning on stderr and still succeeds.
int loadProject(CSondaraDoc& doc, const std::string& path);
// kExitOk, or kExitFile after printing why the file could not be written.
int saveProject(CSondaraDoc& doc, const std::string& path);

// Messages go to stderr (UTF-8); questions are printed and answered with `answer`.
class CliPrompter : public Prompter {
public:
    explicit CliPrompter(bool answer) : answer_(answer) {}
    void info(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool askYesNo(const std::string& text) override {
        std::fprintf(stderr, "%s [%s]\n", text.c_str(), answer_ ? "是" : "否");
        return answer_;
    }

private:
    bool answer_;
};

// Removes "--yes"/"--no" from args; returns the answer (default no).
bool takeYesNo(Args& args);

}  // namespace sondara::cli
