#pragma once
// The four oldest data file versions ("CWH01" 1, "QAR02" 2, "QAR03" 3, "QAR05" 5).
#include "core/fileio/ByteIo.h"
#include "core/model/ProjectInfo.h"
#include "core/model/TestPoint.h"

namespace sondara {

// Reads the rest of a legacy header (the 5-byte tag is already in `info`).
bool readLegacyHeader(ByteReader& in, int versionCode, ProjectInfo& info);
// Reads one legacy point record and builds its processing chain.
bool readLegacyPointRecord(ByteReader& in, int versionCode, TestPoint& point, int pointIndex);
// Whether this build reads the legacy versions yet.
bool legacyVersionsSupported();

}  // namespace sondara
