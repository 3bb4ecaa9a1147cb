#pragma once
// A Word (.docx) package in memory: its parts by name, read from a template file or
// made blank, pictures added as media parts with their relationships, and written as
// a zip file that replaces the target only when it is complete.
#include <map>
#include <string>

namespace sondara {

class DocxPackage {
public:
    // Reads every part of a template. Bounded: at most 2000 parts, 64 MB each, 256 MB in all.
    bool open(const std::string& path, std::string& error);
    // The smallest package Word opens: content types, relationships, an empty
    // document with an A4 page.
    void makeBlank();

    bool has(const std::string& name) const { return parts_.count(name) != 0; }
    const std::string& part(const std::string& name) const;
    void setPart(const std::string& name, std::string bytes) { parts_[name] = std::move(bytes); }

    // Adds a picture ("png", "jpeg", "bmp") as word/media/imageN.ext with its
    // relationship from the document; returns the relationship id.
    std::string addImage(const std::string& bytes, const std::string& extension);

    // Writes the package to `path` through a temporary file beside it.
    bool save(const std::string& path, std::string& error) const;

private:
    std::map<std::string, std::string> parts_;
    int images_ = 0;
};

// Escapes &, <, > and quotes for XML text and attributes.
std::string XmlEscape(const std::string& s);

}  // namespace sondara
