#include "core/fileio/TextExport.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/app/AppPaths.h"
#include "core/base/TextCodec.h"
#include "core/fileio/ResultFile.h"

namespace sondara {

namespace {

constexpr std::size_t kIdentityBytes = 20;

// "%0.2f" independent of the process locale (the GUI sets the user's locale).
void writeFixed2(ByteWriter& out, double v) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    out.bytes(buf, static_cast<std::size_t>(r.ptr - buf));
}

void writeLine(ByteWriter& out, const std::string& gbkLabel, std::string_view value) {
    out.bytes(gbkLabel.data(), gbkLabel.size());
    out.bytes(value.data(), value.size());
    out.u8('\n');
}

}  // namespace

TextExportSettings defaultTextExportSettings() {
    TextExportSettings s;
    const char* home = std::getenv("HOME");
    std::string dir = home && home[0] == '/' ? home : "/tmp";
    if (dir.back() != '/') dir += '/';
    s.path = dir + "outData.txt";
    return s;
}

std::string textExportSettingsPath(const std::string& dir) {
    std::string d = dir.empty() ? settingsDir() : dir;
    if (d.back() != '/') d += '/';
    return d + kTextExportSettingsFile;
}

bool saveTextExportSettings(const TextExportSettings& s, const std::string& dir) {
    AtomicFileWriter file(textExportSettingsPath(dir));
    if (!file.isOpen()) return false;
    ByteWriter& w = file.writer();
    char id[kIdentityBytes] = {};
    std::memcpy(id, kTextExportSettingsId, std::strlen(kTextExportSettingsId));
    w.bytes(id, sizeof id);
    w.u8(s.header ? 1 : 0);
    w.u8(s.timeColumn ? 1 : 0);
    w.u8(s.valueKind);
    writeTextBlob(w, utf8ToGbk(s.separator));
    w.u8(static_cast<std::uint8_t>(s.source));
    writeTextBlob(w, utf8ToGbk(s.path));
    return file.commit();
}

bool loadTextExportSettings(TextExportSettings& s, const std::string& dir) {
    auto read = [&]() {
        auto src = openFileSource(textExportSettingsPath(dir));
        if (!src) return false;
        ByteReader r(std::move(src), 4096);
        char id[kIdentityBytes];
        if (!r.read(id, sizeof id)) return false;
        if (std::string_view(id, strnlen(id, sizeof id)) != kTextExportSettingsId) return false;
        TextExportSettings t;
        t.header = r.u8() != 0;
        t.timeColumn = r.u8() != 0;
        t.valueKind = r.u8();
        std::string separator, path;
        if (!readTextBlob(r, separator)) return false;
        std::uint8_t source = r.u8();
        if (!readTextBlob(r, path) || !r.ok() || source > 2) return false;
        t.separator = gbkToUtf8(separator);
        t.source = static_cast<TextSource>(source);
        t.path = gbkToUtf8(path);
        s = std::move(t);
        return true;
    };
    if (read()) return true;
    s = defaultTextExportSettings();
    saveTextExportSettings(s, dir);  // a failure only means the defaults are not remembered
    return false;
}

std::string separatorForDisplay(const std::string& separator) {
    return separator == " " ? kSpaceSeparatorLabel : separator;
}

TextExportForm formOf(const TextExportSettings& s) {
    TextExportForm f;
    f.header = s.header;
    f.timeColumn = s.timeColumn;
    f.separator = separatorForDisplay(s.separator);
    f.source = static_cast<int>(s.source);
    f.path = s.path;
    return f;
}

std::string validateTextExportForm(const TextExportForm& form, TextExportSettings& out) {
    if (!form.readable || form.source < 0 || form.source > 2) return kMsgBadParameters;
    if (form.separator.empty()) return kMsgEmptySeparator;
    if (form.separator.find('%') != std::string::npos) return kMsgPercentSeparator;
    // An export path must name a file from the root of the file system.
    if (form.path.size() < 2 || form.path.front() != '/' || form.path.back() == '/')
        return kMsgBadSavePath;
    out.header = form.header;
    out.timeColumn = form.timeColumn;
    out.separator = form.separator == kSpaceSeparatorLabel ? " " : form.separator;
    out.source = static_cast<TextSource>(form.source);
    out.path = form.path;
    return {};
}

std::vector<int> textExportPoints(const CSondaraDoc& doc, TextSource source, std::string* message) {
    std::vector<int> pts;
    const char* none = kMsgNoPoint;
    switch (source) {
        case TextSource::Current:
            none = kMsgNoCurrentPoint;
            if (doc.validPoint(doc.currentPoint)) pts.push_back(doc.currentPoint);
            break;
        case TextSource::Checked:
            // from the flags themselves, so that a stale checked list cannot matter
            none = kMsgNoCheckedPoint;
            for (int i = 0; i < doc.pointCount(); ++i)
                if (doc.points[i].checked != 0) pts.push_back(i);
            break;
        case TextSource::All:
            for (int i = 0; i < doc.pointCount(); ++i) pts.push_back(i);
            break;
    }
    if (pts.empty() && message) *message = none;
    return pts;
}

void writeWaveText(ByteWriter& out, const CSondaraDoc& doc, const TextExportSettings& s,
                   const std::vector<int>& points) {
    static const std::string countLabel = utf8ToGbk("测点数：");
    static const std::string pileLabel = utf8ToGbk("测点桩号：");
    static const std::string lengthLabel = utf8ToGbk("数据长度：");
    const std::string separator = utf8ToGbk(s.separator);
    const bool perPointBreak = s.source != TextSource::Current;
    if (s.header) writeLine(out, countLabel, std::to_string(points.size()));
    for (int index : points) {
        const TestPoint& p = doc.points[index];
        if (s.header) {
            writeLine(out, pileLabel, textOf(p.pileNo));
            writeLine(out, lengthLabel, std::to_string(p.sampleCount()));
        }
        for (int i = 0; i < p.sampleCount(); ++i) {
            if (s.timeColumn) {
                writeFixed2(out, static_cast<float>(i) * p.sampleInterval);
                out.bytes(separator.data(), separator.size());
            }
            writeFixed2(out, p.samples[i]);
            out.bytes(separator.data(), separator.size());
        }
        if (perPointBreak && s.header) out.u8('\n');
    }
}

std::string ExportWaveText(const CSondaraDoc& doc, const TextExportSettings& s) {
    std::string message;
    std::vector<int> points = textExportPoints(doc, s.source, &message);
    if (points.empty()) return message;
    AtomicFileWriter file(s.path);
    if (!file.isOpen()) return kMsgBadExportPath;
    writeWaveText(file.writer(), doc, s, points);
    if (!file.commit()) return kMsgBadExportPath;
    return {};
}

}  // namespace sondara
