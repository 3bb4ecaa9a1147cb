#pragma once
// The display a command line asks for, shared by `display` and `render`: the analysis
// selection, the point, the window size, the scope and the display commands to run.
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CommandLine.h"
#include "core/display/WaveDisplayModel.h"

namespace sondara::cli {

struct DisplayArgs {
    std::string file;
    std::string out;
    AnalysisSelection sel;
    bool haveSet = false;
    long point = 0, active = -1, width = 1200, height = 600, traces = 0;
    bool haveCursor = false;
    long cursorX = 0;
    int scope = -1;
    std::vector<std::string> commandNames;
    std::vector<const DisplayCommandInfo*> commands;
    // `display` only
    bool json = false;
    // `render` only
    bool cross = false, noLabels = false, noPile = false, screenOnly = false;
};

enum class DisplayCommandLine { Display, Render };

// The words of --domain and --set ("integrity", "single", ...).
std::string domainName(AnalysisDomain d);
std::string displaySetName(DisplaySet s);

// Parses the arguments; an empty string on success, else what is wrong.
std::string parseDisplayArgs(const Args& args, DisplayArgs& d, DisplayCommandLine which);

// For commands that take the display options beside options of their own: adds the
// display options to `app`; after parsing, finishDisplayArgs() resolves the display
// commands and the default set ("" or what is wrong).
void addDisplayOptions(CLI::App& app, DisplayArgs& d, DisplayCommandLine which);
std::string finishDisplayArgs(DisplayArgs& d);

// Selects the asked point (or point 0), applies the options and the selection and
// builds the model at the asked size. An empty string, or what is wrong.
std::string setUpDisplay(CSondaraDoc& doc, WaveDisplayModel& model, const DisplayArgs& d);
// Runs the asked display commands in order; the points whose display states changed.
std::vector<int> runDisplayCommands(CSondaraDoc& doc, WaveDisplayModel& model,
                                    const DisplayArgs& d);

}  // namespace sondara::cli
