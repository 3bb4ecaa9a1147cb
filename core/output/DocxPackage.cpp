#include "core/output/DocxPackage.h"

#include <zip.h>

#include <cstdio>
#include <memory>

#include "core/base/ByteIo.h"

namespace sondara {

namespace {
constexpr zip_int64_t kMaxParts = 2000;
constexpr zip_uint64_t kMaxPartBytes = 64u << 20;
constexpr zip_uint64_t kMaxTotalBytes = 256u << 20;
const std::string kEmpty;

const char* kBlankContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>)";
const char* kBlankRels =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>)";
const char* kBlankDocumentRels =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"></Relationships>)";
const char* kBlankDocument =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships" xmlns:wp="http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing" xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" xmlns:pic="http://schemas.openxmlformats.org/drawingml/2006/picture"><w:body><w:sectPr><w:pgSz w:w="11906" w:h="16838"/><w:pgMar w:top="1440" w:right="1134" w:bottom="1440" w:left="1134" w:header="851" w:footer="992" w:gutter="0"/></w:sectPr></w:body></w:document>)";

std::string contentTypeOf(const std::string& ext) {
    if (ext == "png") return "image/png";
    if (ext == "jpeg" || ext == "jpg") return "image/jpeg";
    return "image/bmp";
}
}  // namespace

std::string XmlEscape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    return out;
}

bool DocxPackage::open(const std::string& path, std::string& error) {
    parts_.clear();
    images_ = 0;
    int code = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!z) {
        error = "无法打开报告模板：" + path;
        return false;
    }
    std::unique_ptr<zip_t, decltype(&zip_discard)> guard(z, zip_discard);
    const zip_int64_t n = zip_get_num_entries(z, 0);
    if (n < 0 || n > kMaxParts) {
        error = "报告模板已损坏：" + path;
        return false;
    }
    zip_uint64_t total = 0;
    for (zip_int64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        if (zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st) != 0 ||
            !(st.valid & ZIP_STAT_SIZE) || !(st.valid & ZIP_STAT_NAME) || st.size > kMaxPartBytes ||
            (total += st.size) > kMaxTotalBytes) {
            error = "报告模板已损坏：" + path;
            return false;
        }
        std::string name = st.name;
        if (!name.empty() && name.back() == '/') continue;  // a folder entry
        std::unique_ptr<zip_file_t, decltype(&zip_fclose)> f(
            zip_fopen_index(z, static_cast<zip_uint64_t>(i), 0), zip_fclose);
        std::string bytes(st.size, '\0');
        if (!f || zip_fread(f.get(), bytes.data(), st.size) != static_cast<zip_int64_t>(st.size)) {
            error = "报告模板已损坏：" + path;
            return false;
        }
        if (name.rfind("word/media/image", 0) == 0) ++images_;
        parts_[name] = std::move(bytes);
    }
    if (!has("word/document.xml") || !has("[Content_Types].xml")) {
        error = "报告模板已损坏：" + path;
        return false;
    }
    if (!has("word/_rels/document.xml.rels"))
        parts_["word/_rels/document.xml.rels"] = kBlankDocumentRels;
    return true;
}

void DocxPackage::makeBlank() {
    parts_.clear();
    images_ = 0;
    parts_["[Content_Types].xml"] = kBlankContentTypes;
    parts_["_rels/.rels"] = kBlankRels;
    parts_["word/_rels/document.xml.rels"] = kBlankDocumentRels;
    parts_["word/document.xml"] = kBlankDocument;
}

const std::string& DocxPackage::part(const std::string& name) const {
    auto it = parts_.find(name);
    return it == parts_.end() ? kEmpty : it->second;
}

namespace {
// Inserts `text` before the closing tag of a part; a damaged template may lack it, and
// then the part is written anew around the text instead of failing.
void insertBeforeClosing(std::string& part, const std::string& open, const std::string& close,
                         const std::string& text) {
    const std::size_t at = part.rfind(close);
    if (at == std::string::npos) {
        part = open + text + close;
        return;
    }
    part.insert(at, text);
}
}  // namespace

std::string DocxPackage::addImage(const std::string& bytes, const std::string& extension) {
    const std::string ext = extension == "jpg" ? "jpeg" : extension;
    std::string name;
    do {
        name = "image" + std::to_string(++images_) + "." + ext;
    } while (has("word/media/" + name));
    parts_["word/media/" + name] = bytes;
    const std::string id = "rIdImg" + std::to_string(images_);
    std::string& rels = parts_["word/_rels/document.xml.rels"];
    const std::string rel =
        "<Relationship Id=\"" + id +
        "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
        "Target=\"media/" +
        name + "\"/>";
    insertBeforeClosing(rels,
                        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                        "relationships\">",
                        "</Relationships>", rel);
    std::string& types = parts_["[Content_Types].xml"];
    const std::string def = "<Default Extension=\"" + ext + "\"";
    if (types.find(def) == std::string::npos)
        insertBeforeClosing(types,
                            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                            "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                            "content-types\">",
                            "</Types>", def + " ContentType=\"" + contentTypeOf(ext) + "\"/>");
    return id;
}

bool DocxPackage::save(const std::string& path, std::string& error) const {
    // The package is built in memory and written through the one atomic writer: no
    // temporary of the zip library's own is ever left beside the target.
    if (std::string why = CheckOutputTarget(path); !why.empty()) {
        error = why;
        return false;
    }
    zip_error_t zerr;
    zip_error_init(&zerr);
    zip_source_t* mem = zip_source_buffer_create(nullptr, 0, 0, &zerr);
    zip_t* z = mem ? zip_open_from_source(mem, ZIP_TRUNCATE, &zerr) : nullptr;
    zip_error_fini(&zerr);
    if (!z) {
        if (mem) zip_source_free(mem);
        error = "无法创建文件：" + path;
        return false;
    }
    zip_source_keep(mem);  // the archive's bytes are read from it after zip_close
    // [Content_Types].xml first, as word processors expect to find it early.
    auto add = [&](const std::string& name, const std::string& bytes) {
        zip_source_t* src = zip_source_buffer(z, bytes.data(), bytes.size(), 0);
        if (!src) return false;
        const zip_int64_t idx =
            zip_file_add(z, name.c_str(), src, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (idx < 0) {
            zip_source_free(src);
            return false;
        }
        // Compressed pictures are stored as they are: deflating them again gains nothing.
        const auto endsWith = [&](const char* e) {
            const std::string_view n(name), x(e);
            return n.size() >= x.size() && n.substr(n.size() - x.size()) == x;
        };
        if (endsWith(".png") || endsWith(".jpeg") || endsWith(".jpg"))
            zip_set_file_compression(z, static_cast<zip_uint64_t>(idx), ZIP_CM_STORE, 0);
        return true;
    };
    bool ok = add("[Content_Types].xml", part("[Content_Types].xml"));
    for (const auto& [name, bytes] : parts_)
        if (ok && name != "[Content_Types].xml") ok = add(name, bytes);
    if (!ok || zip_close(z) != 0) {
        zip_discard(z);  // a failed close leaves the archive to be freed
        zip_source_free(mem);
        error = "写文件失败：" + path;
        return false;
    }
    std::string bytes;
    zip_stat_t st;
    zip_stat_init(&st);
    ok = zip_source_stat(mem, &st) == 0 && (st.valid & ZIP_STAT_SIZE) && zip_source_open(mem) == 0;
    if (ok) {
        bytes.resize(st.size);
        ok = zip_source_read(mem, bytes.data(), st.size) == static_cast<zip_int64_t>(st.size);
        zip_source_close(mem);
    }
    zip_source_free(mem);
    if (!ok) {
        error = "写文件失败：" + path;
        return false;
    }
    return WriteFileAtomically(path, bytes, error);
}

}  // namespace sondara
