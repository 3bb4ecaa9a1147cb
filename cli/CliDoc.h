#pragma once
// Loading and saving a project from CLI commands with the reader's messages on
// stderr, and a prompter that prints messages and answers from --yes/--no.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "core/base/Prompter.h"
#include "core/base/TrNoop.h"
#include "core/model/SondaraDoc.h"

namespace sondara::cli {

enum class LoadFor { Reading, Writing };

// kExitOk, or kExitFile after printing the reader's message on stderr. A partial
// load prints the lost-points warning on stderr; a command that reads only goes on
// with the points read, one that writes a project ends with kExitPartial unless
// --allow-partial was given.
int loadProject(CSondaraDoc& doc, const std::string& path, LoadFor purpose = LoadFor::Reading);
// Says that nothing was written because an input was read only partly;
// returns kExitPartial.
int refusePartialFile(const std::string& what);
// kExitOk, or kExitFile after printing why the file could not be written. A
// document read partly is not written without --allow-partial (kExitPartial).
int saveProject(CSondaraDoc& doc, const std::string& path);
// "sondara-cli COMMAND: " and the message on stderr, for errors.
void printError(const std::string& message);
// Checks every output of a command before anything is made or written (a read-only
// target, a folder, a missing folder): kExitOk, or kExitFile after saying why. Empty
// paths are skipped.
int checkOutputs(const std::vector<std::string>& paths);
// The 0-based indices of the 1-based point numbers given on the command line, or of
// every point when `numbers` is empty; "" or why a number names no point.
std::string pointIndices(const CSondaraDoc& doc, const std::vector<long>& numbers,
                         std::vector<int>& out);

// Messages go to stderr (UTF-8) in the language asked for (SONDARA_LANGUAGE);
// questions are printed and answered with `answer`.
class CliPrompter : public Prompter {
public:
    explicit CliPrompter(bool answer) : answer_(answer) {}
    void info(const std::string& text) override {
        std::fprintf(stderr, "%s\n", TrText(text).c_str());
    }
    bool askYesNo(const std::string& text) override {
        const bool english = TextsTranslated();
        std::fprintf(stderr, "%s [%s]\n", TrText(text).c_str(),
                     answer_ ? (english ? "yes" : "是") : (english ? "no" : "否"));
        if (!answer_) ++refusals_;
        return answer_;
    }
    // How many questions were answered 否 (a command that was told to stop writes nothing).
    int refusals() const { return refusals_; }

private:
    bool answer_;
    int refusals_ = 0;
};

}  // namespace sondara::cli
