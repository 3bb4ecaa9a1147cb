#pragma once
// The result file (.rpc): the project summarised pile by pile, with the defects of
// every point, for report generators. Write-only.
//
// Layout, little-endian: blob "MIR_QARR_V1.0", blob testing unit, blob project
// name, int32 pile count, then per pile the fixed fields of its first point and one
// entry per point (int32 defect count, then kind, name blob, depth per defect).
#include <string>
#include <string_view>

#include "core/base/ByteIo.h"
#include "core/base/TrNoop.h"
#include "core/model/SondaraDoc.h"

namespace sondara {

inline constexpr const char* kResultFileTag = "MIR_QARR_V1.0";
inline constexpr const char* kMsgResultSaved = SONDARA_TR_NOOP("sondara", "保存完成");
inline constexpr const char* kMsgResultFailed = SONDARA_TR_NOOP("sondara", "保存失败");
inline constexpr int kMaxBlobBytes = 1024;

// Text blob: int32 n, then n bytes. A non-empty text is written with its NUL
// (n = length + 1); an empty text is n = 0 and nothing else.
void writeTextBlob(ByteWriter& out, std::string_view text);
// Reads a blob; n outside 0..1024 (or missing bytes) is a read error. The text is
// the bytes up to the first NUL.
bool readTextBlob(ByteReader& in, std::string& text);

// The whole result file into `out`.
void writeResult(ByteWriter& out, const CSondaraDoc& doc);
// Writes the result file atomically; false (and the reason in `error`) when it
// cannot be written.
bool WriteResultFile(const CSondaraDoc& doc, const std::string& path, std::string* error = nullptr);

}  // namespace sondara
