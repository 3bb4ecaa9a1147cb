#pragma once
// Importing traces recorded by other instruments: the program's own waveform text
// export read back, and plain delimited text (CSV, tab or blank separated; UTF-8 or
// GBK) with optional "key: value" lines above it, an optional header row, an optional
// units row under it and an optional time column. Every trace becomes a new point of a
// new project; what the file does not give stays unset.
//
// The readers take any bytes: a file they cannot make sense of gives a message (Chinese
// and English, one line) and no point.
#include <string>
#include <string_view>
#include <vector>

#include "core/base/TrNoop.h"
#include "core/model/SampleInterval.h"
#include "core/model/SondaraDoc.h"

namespace sondara {

inline constexpr int kMaxImportSamples = 8192;
inline constexpr int kMaxImportPoints = 9998;

// What the user says about the traces where the file is silent; 0 / -1: not given.
struct TraceImportOptions {
    double intervalUs = 0.0;  // sample interval (--dt); the file's time column wins
    int sensorType = -1;      // 0 acceleration, 1 velocity
    double pileLength = 0.0;  // m
    double waveSpeed = 0.0;   // m/s
};

// One trace read from a file; 0 / -1: the file does not say.
struct ImportedTrace {
    std::string name;         // pile number, UTF-8; empty: numbered on import
    double intervalUs = 0.0;  // sample interval
    std::vector<float> samples;
    double pileLength = 0.0;  // m
    double waveSpeed = 0.0;   // m/s
    int sensorType = -1;      // 0 acceleration, 1 velocity
};

struct TraceParseResult {
    std::vector<ImportedTrace> traces;
    std::string message;         // "" when read
    bool needsInterval = false;  // read, but the file gives no sample interval
};

// Reads the bytes of one file (either kind, recognised by its content).
TraceParseResult parseTraceText(std::string_view bytes);

// The sample index of the first sample that stands out of the noise before it
// (0 for a flat or empty trace).
int firstSampleAboveNoise(const std::vector<float>& samples);

// A new point from a trace: interval, pile number, samples, head above the noise, the
// pile length, wave speed and sensor the file or else the options give and, when both
// length and speed are known, the toe. Everything else stays unset: the pile type is
// unknown (custom with an empty name), numbers are 0, texts empty. `ordinal` (1-based)
// names a trace without a name.
TestPoint importedPoint(const ImportedTrace& trace, const TraceImportOptions& options, int ordinal);

// Reads every file and replaces `doc` by a new project of their traces, in order.
// Returns "" or the message of the first file that cannot be imported (doc untouched).
// `needsInterval` (if given) is set when the only fault is a missing sample interval;
// `intervalsRead` (if given) gets the distinct sample intervals the files give, in
// order. An interval outside what an instrument records (kMinSampleIntervalUs ..
// kMaxSampleIntervalUs), from a file or the options, is refused.
std::string ImportTraceFiles(CSondaraDoc& doc, const std::vector<std::string>& paths,
                             const TraceImportOptions& options, bool* needsInterval = nullptr,
                             std::vector<double>* intervalsRead = nullptr);

// "采样间隔 0.01 微秒不在仪器记录的范围（0.1～10000 微秒）内 / ..." for an implausible
// interval; "" for a plausible one.
std::string implausibleIntervalMessage(double intervalUs);

// ---- the desktop's import dialog: what the files do not say ----
inline constexpr const char* kMsgBadImportInterval =
    SONDARA_TR_NOOP("sondara", "采样间隔填写有误！");
inline constexpr const char* kMsgBadImportLength = SONDARA_TR_NOOP("sondara", "桩长填写有误！");
inline constexpr const char* kMsgBadImportSpeed = SONDARA_TR_NOOP("sondara", "波速填写有误！");

// The dialog's fields as typed; an empty length or speed is not given, an empty
// interval only when the files give theirs.
struct TraceImportForm {
    std::string interval;  // us
    int sensor = 0;        // 0 acceleration, 1 velocity
    std::string length;    // m
    std::string speed;     // m/s
    bool intervalNeeded = false;
};
// "" with `out` filled, or the message to show.
std::string readTraceImportForm(const TraceImportForm& form, TraceImportOptions& out);

// Recognises a time column's header ("time_ms", "t(s)", "时间/us" ...): true with the
// factor from its unit to microseconds (0 when the name gives no unit).
bool timeColumnUnit(std::string_view header, double& toMicroseconds);

}  // namespace sondara
