#pragma once
// Replacing an output file only when the new one is complete: libraries that write
// by file name (the zip and spreadsheet writers) write to a temporary name beside the
// target, which is renamed over the target at the end.
#include <string>

namespace sondara {

// A name in the target's folder that does not exist yet ("<target>.~<n>.tmp").
std::string TempPathBeside(const std::string& target);
// Renames `temp` over `target`; on failure removes `temp`, sets `error` and keeps the
// previous target.
bool ReplaceWithTemp(const std::string& temp, const std::string& target, std::string& error);

}  // namespace sondara
