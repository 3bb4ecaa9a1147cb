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
        return answer_;
    }

private:
    bool answer_;
};

}  // namespace sondara::cli
