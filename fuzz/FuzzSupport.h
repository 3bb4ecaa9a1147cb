#pragma once
// What the fuzz targets share: a scratch folder for the process, the input written
// to a file, and the check that a converted instrument folder reads back whole.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/base/Prompter.h"
#include "core/fileio/InstrumentProject.h"
#include "core/fileio/ProjectFile.h"
#include "core/model/SondaraDoc.h"

namespace sondara::fuzz {

// A new folder /tmp/sondara-fuzz-<name>XXXXXX; a target keeps it in a static.
inline std::string scratchDir(const std::string& name) {
    std::string tmpl = "/tmp/sondara-fuzz-" + name + "XXXXXX";
    return ::mkdtemp(tmpl.data());
}

// A scratch folder that the program takes as its settings folder.
inline std::string settingsDir(const std::string& name) {
    std::string d = scratchDir(name);
    ::setenv("SONDARA_SETTINGS_DIR", d.c_str(), 1);
    return d;
}

// Writes the bytes as the whole file at path; false when it cannot be opened.
inline bool writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    if (size) std::fwrite(data, 1, size, out);
    std::fclose(out);
    return true;
}

// Converts the instrument folder dir into dir/out.qar; what the converter writes must
// read back whole.
inline void convertMustReadBack(const std::string& dir) {
    SilentPrompter p;
    const std::string out = dir + "/out.qar";
    auto report = ConvertInstrumentFolder(dir, out, p, {false});
    if (report.written) {
        CSondaraDoc doc;
        if (!ReadProject(doc, out).empty() || doc.pointCount() != report.convertedPoints)
            __builtin_trap();
    }
}

}  // namespace sondara::fuzz
