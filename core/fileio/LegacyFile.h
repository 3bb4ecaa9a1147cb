#pragma once
// The four oldest data file versions ("CWH01" 1, "QAR02" 2, "QAR03" 3, "QAR05" 5).
//
// These files store no processing chain: a point carries a few fixed processing
// parameters (integration, low-pass passes, front and back zero, shift,
// amplification, rotation, smoothing, local scales in code 3) and up to ten marks.
// Reading a record turns those parameters into a chain in a fixed order, so that
// from then on the point behaves like one of the current format.
#include <vector>

#include "core/base/ByteIo.h"
#include "core/model/ProjectInfo.h"
#include "core/model/TestPoint.h"

namespace sondara {

// Bytes of a version-2 point record before its samples (also codes 1 and 5; code 3
// adds its local scales).
inline constexpr int kLegacyRecordFixedBytes = 242;

// Reads the rest of a legacy header (the 5-byte tag is already in `info`).
// False when the bytes run out.
bool readLegacyHeader(ByteReader& in, int versionCode, ProjectInfo& info);

// Reads one legacy point record into `point` (a new point) and builds its chain.
// A record of a "QAR05" file whose sensor type is 2 (加速度→速度) also gets the
// sensor conversion (an Integrate step at the end of its chain). False, with the
// reader failed, when the record is unreadable: bytes run out, a recordedLength
// outside 1..9999, a count outside 0..9999 or one the remaining bytes cannot hold.
// `pointIndex` is the record's index in the list being read (not needed here: the
// pile head and wave speed come from the record itself).
bool readLegacyPointRecord(ByteReader& in, int versionCode, TestPoint& point, int pointIndex);

// Builds the point's chain from the candidate steps that the stored parameters gave
// (`scratch`), in the fixed order of the old instruments: local scales, DC offset,
// low-pass filters, integration, front and back zero, amplification, rotation,
// smoothing, DC offset again, then the stored shift scaled to the trace's range.
// A point of 10 samples or fewer is left alone.
void LegacyChainBuilder(TestPoint& point, const std::vector<ProcessStep>& scratch);

// The "QAR05" sensor conversion: a point recorded as 加速度→速度 (sensorType 2) gets an
// Integrate step with default parameters appended, remembered and replayed.
void applyLegacySensorConversion(TestPoint& point);

}  // namespace sondara
