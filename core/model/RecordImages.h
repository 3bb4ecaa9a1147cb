#pragma once
// The stored images of a point's fixed part, a processing step and a defect mark,
// read and written through their one field list (core/base/RecordFields.h). Used by
// the data file and by the clipboard block.
#include "core/base/ByteIo.h"
#include "core/base/RecordFields.h"
#include "core/model/PileMark.h"
#include "core/model/ProcessStep.h"
#include "core/model/TestPoint.h"

namespace sondara {

// The 1112-byte step image and the 164-byte mark image.
void writeStep(ByteWriter& out, const ProcessStep& s);
bool readStep(ByteReader& in, ProcessStep& s);
void writeMark(ByteWriter& out, const PileMark& m);
bool readMark(ByteReader& in, PileMark& m);

// A point's fixed part in the given form; false when the bytes run out.
bool readPointImage(ByteReader& in, PointImage form, TestPoint& p);
void writePointImage(ByteWriter& out, PointImage form, const TestPoint& p);

}  // namespace sondara
