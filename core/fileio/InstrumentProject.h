#pragma once
// Conversion of a project folder downloaded from the instrument ("qar.par",
// "pindex.par" and one point file "1.qar", "2.qar", ... per point) into one "QAR02"
// data file.
//
// The data file is written atomically, and the downloaded files are deleted only
// after it was written completely, so a failed conversion never loses a point.
// Runs on any thread; it touches only the files of the folder and the target.
#include <string>
#include <vector>

#include "core/base/TrNoop.h"

namespace sondara {

class Prompter;

inline constexpr const char* kMsgNotInstrumentProject =
    SONDARA_TR_NOOP("sondara", "所传输的文件不是测桩仪数据文件！");

// Byte layout of the instrument's files.
inline constexpr int kInstrumentHeaderBytes = 72;   // "qar.par"
inline constexpr int kInstrumentPointBytes = 4338;  // "N.qar"
inline constexpr int kInstrumentPointSamples = 1024;

struct InstrumentConvertOptions {
    // Delete "qar.par", "pindex.par" and the converted point files once the data
    // file is written (the transfer does; the CLI can keep them).
    bool deleteSources = true;
};

struct InstrumentConversion {
    enum class SkipReason { Missing, Short, NoSamples };
    struct Skipped {
        int number = 0;  // the point file's number (1-based)
        SkipReason reason = SkipReason::Missing;
    };

    bool written = false;     // the data file was written
    int declaredPoints = 0;   // the point count of "qar.par"
    int convertedPoints = 0;  // records written (also the header's point count)
    std::vector<Skipped> skipped;
    // Point files whose recordedLength exceeded the 1024 samples a point file holds;
    // they were written with the 1024 samples there are.
    std::vector<int> truncated;
    std::string error;  // why nothing was written (UTF-8); empty when written
};

// Converts the project whose files lie in the folder of `targetPath` (the path up to
// its last slash or backslash) into the data file `targetPath`, deleting the
// downloaded files afterwards. A folder without "qar.par" shows
// "所传输的文件不是测桩仪数据文件！" through `prompter` and writes nothing.
InstrumentConversion ConvertInstrumentProject(const std::string& targetPath, Prompter& prompter);

// The same with the downloaded files in `folder`, which need not be the target's.
InstrumentConversion ConvertInstrumentFolder(const std::string& folder,
                                             const std::string& targetPath, Prompter& prompter,
                                             const InstrumentConvertOptions& options = {});

}  // namespace sondara
