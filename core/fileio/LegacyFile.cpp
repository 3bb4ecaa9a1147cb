#include "core/fileio/LegacyFile.h"

namespace sondara {

// The legacy readers are not part of this build yet: the data file reader reports
// such files with a clear message instead of misreading them.
bool legacyVersionsSupported() { return false; }
bool readLegacyHeader(ByteReader&, int, ProjectInfo&) { return false; }
bool readLegacyPointRecord(ByteReader&, int, TestPoint&, int) { return false; }

}  // namespace sondara
