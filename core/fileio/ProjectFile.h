#pragma once
// The data file (.qar): reading all versions, writing "QAR16", merging files and
// saving the checked points.
#include <string>
#include <vector>

#include "core/base/ByteIo.h"
#include "core/base/TrNoop.h"
#include "core/model/RecordImages.h"
#include "core/model/SondaraDoc.h"

namespace sondara {

class Prompter;

// Version codes of the tags "CWH01" 1, "QAR02" 2, "QAR03" 3, "QAR04" 4, "QAR05" 5,
// "QAR15" 6, "QAR16" 7; 0 for anything else.
int versionCodeOfTag(std::string_view tag);

// Messages the reader returns (UTF-8).
inline constexpr const char* kMsgNotDataFile =
    SONDARA_TR_NOOP("sondara", "文件内容记录错误，空文件或非低应变数据文件！");
inline constexpr const char* kMsgBadPointCount =
    SONDARA_TR_NOOP("sondara", "文件异常，测点数[%d]不合理！");
inline constexpr const char* kMsgPointsLost =
    SONDARA_TR_NOOP("sondara", "测点数据不完整，[%d]个测点第[%d]个测点以后数据丢失！");

// Fills `doc` from the file at `path`. Returns "" on success or the message to show
// (also kept in doc.lastError). When only the first i > 0 records could be read the
// project loads with them and `warning` (if given) receives the lost-points message.
std::string ReadProject(CSondaraDoc& doc, const std::string& path, std::string* warning = nullptr);
// The same over any byte source (fuzzing, clipboard-like buffers).
std::string ReadProject(CSondaraDoc& doc, ByteReader& in, const std::string& displayPath,
                        std::string* warning = nullptr);

// Reads one point record of the given version code into `point` (a new point).
// `pointIndex` is the record's index in the list being read.
bool PointRecordReader(ByteReader& in, int versionCode, TestPoint& point, int pointIndex);

// Header of codes 4, 6 and 7 (209 bytes).
void writeHeader(ByteWriter& out, const ProjectInfo& info);
// One "QAR16" point record: F16 then the variable part.
void writePointRecord(ByteWriter& out, const TestPoint& p);

// Writes the whole document as "QAR16" (both sets) atomically: the previous file is
// replaced only when everything was written. Sets both headers' tags to "QAR16".
bool WriteProject(CSondaraDoc& doc, const std::string& path, std::string* error = nullptr);

// Writes only the checked points (current and original records at the same
// indices). False when nothing is checked or the file cannot be written.
bool SaveChecked(const CSondaraDoc& doc, const std::string& path, std::string* error = nullptr);

// Replaces the document by the concatenation of the files' point lists. A path that
// cannot be opened asks "文件“%s”路径错误，是否继续打开其他文件？"; No stops.
// Finishes the load (checked list, display ranges, selection of point 0, loaded).
// `partlyRead`, when given, receives for each file that could be read only partly its
// path and the lost-points message.
void MergeFiles(CSondaraDoc& doc, const std::vector<std::string>& paths, Prompter& prompter,
                std::vector<std::string>* partlyRead = nullptr);

// Completes a load: loaded = 1, display ranges, checked list, point 0 selected. A
// read document is as on disk and announced unmodified; merged files make a new,
// unsaved project (`merged`).
void finishLoad(CSondaraDoc& doc, bool merged = false);

}  // namespace sondara
