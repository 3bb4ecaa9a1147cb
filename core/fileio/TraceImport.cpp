#include "core/fileio/TraceImport.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "core/base/TextCodec.h"
#include "core/fileio/ProjectFile.h"

namespace sondara {

namespace {

// A pile type nobody gave: a custom type (index 100) without a name.
constexpr std::int16_t kUnknownPileType = 100;

// A file larger than this holds more than the most samples a project can take.
constexpr std::uintmax_t kMaxImportFileBytes = 512u * 1024u * 1024u;

std::string num(long long v) {
    return std::to_string(v);
}

bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= s.size()) return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) >> 6) != 2)
                return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

// The text as UTF-8: UTF-8 (with or without its byte-order mark) as it is, else GBK.
std::string decodeText(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (validUtf8(bytes)) return std::string(bytes);
    return gbkToUtf8(bytes);
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
            lines.push_back(text.substr(start, i - start));
            if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

std::string_view trim(std::string_view s) {
    return trimBlanks(s);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A plain decimal or exponent number, the whole field; finite and within float range.
bool parseNumber(std::string_view s, double& v) {
    s = trim(s);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = trim(s.substr(1, s.size() - 2));
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty() || !(isDigit(s[0]) || s[0] == '-' || s[0] == '.')) return false;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && std::isfinite(v) &&
           std::fabs(v) <= FLT_MAX;
}

// A number as the waveform text export writes it: "-12.34", exactly two decimals.
bool parseExportNumber(std::string_view s, double& v) {
    std::size_t i = !s.empty() && s[0] == '-' ? 1 : 0;
    const std::size_t digits = i;
    while (i < s.size() && isDigit(s[i])) ++i;
    if (i == digits || i + 3 != s.size() || s[i] != '.' || !isDigit(s[i + 1]) || !isDigit(s[i + 2]))
        return false;
    return parseNumber(s, v);
}

// "1,5" or "-0,25": a number written with a decimal comma.
bool looksLikeDecimalComma(std::string_view s) {
    s = trim(s);
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
    std::size_t comma = s.find(',');
    if (comma == std::string_view::npos || comma == 0 || comma + 1 >= s.size()) return false;
    for (std::size_t i = 0; i < s.size(); ++i)
        if (i != comma && !isDigit(s[i])) return false;
    return true;
}

int decimalsOf(std::string_view s) {
    s = trim(s);
    std::size_t dot = s.find('.');
    if (dot == std::string_view::npos) return 0;
    int n = 0;
    for (std::size_t i = dot + 1; i < s.size() && isDigit(s[i]); ++i) ++n;
    return n;
}

// The interval of evenly spaced times: the roundest step (fewest decimals) that gives
// every time back within `tolerance`, so that the times written again come out the
// same. False when the times are not evenly spaced or do not rise.
bool constantInterval(const std::vector<double>& t, double tolerance, double& step) {
    const std::size_t n = t.size();
    if (n < 2) return false;
    const double raw = (t[n - 1] - t[0]) / static_cast<double>(n - 1);
    if (!(raw > 0.0)) return false;
    tolerance += 1e-6 * std::max(std::fabs(t[0]), std::fabs(t[n - 1]));
    auto fits = [&](double c) {
        for (std::size_t i = 0; i < n; ++i)
            if (std::fabs(t[0] + static_cast<double>(i) * c - t[i]) > tolerance) return false;
        return true;
    };
    for (int d = 0; d <= 9; ++d) {
        const double scale = std::pow(10.0, d);
        const double c = std::round(raw * scale) / scale;
        if (c > 0.0 && fits(c)) {
            step = c;
            return true;
        }
    }
    if (!fits(raw)) return false;
    step = raw;
    return true;
}

std::string tooManySamples(const std::string& where, std::size_t n) {
    return where + "有 " + num(static_cast<long long>(n)) + " 个采样，最多 " +
           num(kMaxImportSamples) + " 个 / " + num(static_cast<long long>(n)) +
           " samples, at most " + num(kMaxImportSamples);
}

std::string tooManyPoints(std::size_t n) {
    return "共 " + num(static_cast<long long>(n)) + " 个测点，最多 " + num(kMaxImportPoints) +
           " 个 / " + num(static_cast<long long>(n)) + " traces, at most " + num(kMaxImportPoints) +
           " points";
}

std::string notConstant(const std::string& where) {
    return where + "时间列的采样间隔不恒定 / the time column's interval is not constant";
}

std::string lineWhere(std::size_t line) {
    return "第 " + num(static_cast<long long>(line)) + " 行";
}

// ---- "key: value" lines -----------------------------------------------------------------

// What the "key: value" lines above the data say about its traces.
struct TraceFacts {
    std::string pileNo;
    double intervalUs = 0.0;
    std::size_t intervalLine = 0;  // the line that gave it
    double pileLength = 0.0;
    double waveSpeed = 0.0;
    int sensorType = -1;
};

std::string lowerAscii(std::string_view s) {
    std::string out;
    for (char c : s) out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return out;
}

// Splits "key: value" (ASCII or full-width colon). The key is a name (it holds a letter or
// a non-ASCII character, no field delimiter, and is not a number).
bool keyValueLine(std::string_view text, std::string_view& key, std::string_view& value) {
    const std::size_t ascii = text.find(':');
    const std::size_t wide = text.find("：");
    const std::size_t at = std::min(ascii, wide);
    if (at == std::string_view::npos) return false;
    key = trim(text.substr(0, at));
    value = trim(text.substr(at + (at == wide ? std::string_view("：").size() : 1)));
    // a spreadsheet's cells: "Sample interval:,20,us,,"
    const char* cells = ",;\t ";
    const std::size_t b = value.find_first_not_of(cells);
    value = b == std::string_view::npos ? std::string_view()
                                        : value.substr(b, value.find_last_not_of(cells) - b + 1);
    if (key.empty() || key.find_first_of(",;\t") != std::string_view::npos) return false;
    return std::any_of(key.begin(), key.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
}

enum class FactKind { None, PileNo, Interval, Rate, Length, Speed, Sensor };

// The fact a key names, and the unit written in the key ("Sample interval (us)").
FactKind factOfKey(std::string_view key, std::string& unit) {
    std::string name;
    const std::string k = lowerAscii(key);
    std::size_t open = k.find_first_of("([");
    if (const std::size_t w = k.find("（"); w < open) open = w;
    if (open != std::string::npos) {
        for (char c : std::string_view(k).substr(open))
            if (c != '(' && c != ')' && c != '[' && c != ']' && c != ' ') unit += c;
        for (std::string_view wide : {"（", "）"})
            for (std::size_t at; (at = unit.find(wide)) != std::string::npos;)
                unit.erase(at, wide.size());
    }
    for (char c : std::string_view(k).substr(0, open))
        if (c != ' ' && c != '_' && c != '-' && c != '.') name += c;
    const struct {
        const char* name;
        FactKind kind;
    } names[] = {
        {"桩号", FactKind::PileNo},
        {"测点桩号", FactKind::PileNo},
        {"pile", FactKind::PileNo},
        {"pileno", FactKind::PileNo},
        {"pilenumber", FactKind::PileNo},
        {"pileid", FactKind::PileNo},
        {"采样间隔", FactKind::Interval},
        {"采样周期", FactKind::Interval},
        {"sampleinterval", FactKind::Interval},
        {"samplinginterval", FactKind::Interval},
        {"sampleperiod", FactKind::Interval},
        {"samplingperiod", FactKind::Interval},
        {"interval", FactKind::Interval},
        {"dt", FactKind::Interval},
        {"采样频率", FactKind::Rate},
        {"samplerate", FactKind::Rate},
        {"samplingrate", FactKind::Rate},
        {"samplingfrequency", FactKind::Rate},
        {"桩长", FactKind::Length},
        {"pilelength", FactKind::Length},
        {"length", FactKind::Length},
        {"波速", FactKind::Speed},
        {"wavespeed", FactKind::Speed},
        {"wavevelocity", FactKind::Speed},
        {"传感器", FactKind::Sensor},
        {"传感器类型", FactKind::Sensor},
        {"sensor", FactKind::Sensor},
        {"sensortype", FactKind::Sensor},
    };
    for (const auto& n : names)
        if (name == n.name) return n.kind;
    return FactKind::None;
}

// A number followed by its unit ("20 us", "0.02ms", "3800 m/s"); the unit lower case.
bool numberWithUnit(std::string_view text, double& v, std::string& unit) {
    text = trim(text);
    std::size_t end = 0;
    while (end < text.size() &&
           (isDigit(text[end]) || text[end] == '.' || text[end] == '-' || text[end] == '+' ||
            ((text[end] == 'e' || text[end] == 'E') && end > 0 && end + 1 < text.size() &&
             (isDigit(text[end + 1]) || text[end + 1] == '-' || text[end + 1] == '+'))))
        ++end;
    if (!parseNumber(text.substr(0, end), v)) return false;
    std::string_view rest = text.substr(end);
    while (!rest.empty() && (rest[0] == ',' || rest[0] == ';' || rest[0] == '\t' || rest[0] == ' '))
        rest.remove_prefix(1);
    std::string u = lowerAscii(trim(rest));
    if (!u.empty()) unit = u;
    return true;
}

// Applies one "key: value" line; false with `message` when a known key has a value that
// cannot be read. Unknown keys (date, site, operator ...) are passed over.
bool applyFact(std::string_view key, std::string_view value, std::size_t line, TraceFacts& facts,
               std::string& message) {
    std::string unit;
    const FactKind kind = factOfKey(key, unit);
    if (kind == FactKind::None) return true;
    const std::string where = lineWhere(line);
    const std::string whereEn = "line " + num(static_cast<long long>(line));
    auto bad = [&] {
        message = where + "“" + std::string(key) + "”的值“" + std::string(value.substr(0, 40)) +
                  "”无法读出 / " + whereEn + ": the value of \"" + std::string(key) +
                  "\" cannot be read";
        return false;
    };
    if (kind == FactKind::PileNo) {
        if (value.empty()) return bad();
        facts.pileNo = std::string(value);
        return true;
    }
    if (kind == FactKind::Sensor) {
        const std::string v = lowerAscii(value);
        if (v == "加速度" || v == "acceleration" || v == "accelerometer")
            facts.sensorType = 0;
        else if (v == "速度" || v == "velocity" || v == "geophone")
            facts.sensorType = 1;
        else
            return bad();
        return true;
    }
    double v = 0.0;
    if (!numberWithUnit(value, v, unit) || !(v > 0.0)) return bad();
    auto in = [&](std::initializer_list<const char*> names) {
        return std::any_of(names.begin(), names.end(), [&](const char* n) { return unit == n; });
    };
    switch (kind) {
        case FactKind::Interval:
            if (in({"", "us", "µs", "μs", "微秒"}))
                facts.intervalUs = v;
            else if (in({"ms", "毫秒"}))
                facts.intervalUs = v * 1e3;
            else if (in({"s", "秒"}))
                facts.intervalUs = v * 1e6;
            else if (in({"ns"}))
                facts.intervalUs = v * 1e-3;
            else
                return bad();
            facts.intervalLine = line;
            return true;
        case FactKind::Rate:
            if (in({"", "hz"}))
                facts.intervalUs = 1e6 / v;
            else if (in({"khz"}))
                facts.intervalUs = 1e3 / v;
            else if (in({"mhz"}))
                facts.intervalUs = 1.0 / v;
            else
                return bad();
            facts.intervalLine = line;
            return true;
        case FactKind::Length:
            if (in({"mm"}))
                v *= 1e-3;
            else if (in({"cm"}))
                v *= 1e-2;
            else if (!in({"", "m", "米"}))
                return bad();
            if (v < 1e-3 || v > 1e4) return bad();
            facts.pileLength = v;
            return true;
        case FactKind::Speed:
            if (in({"km/s"}))
                v *= 1e3;
            else if (!in({"", "m/s", "米/秒"}))
                return bad();
            if (v < 1.0 || v > 32767.0) return bad();
            facts.waveSpeed = v;
            return true;
        default:
            return true;
    }
}

// Gives the facts to traces that do not have them. An interval the file states twice
// (a line and a time column) must agree.
std::string giveFacts(const TraceFacts& facts, std::vector<ImportedTrace>& traces) {
    for (ImportedTrace& t : traces) {
        if (!facts.pileNo.empty()) t.name = facts.pileNo;
        if (facts.intervalUs > 0.0) {
            if (t.intervalUs > 0.0 &&
                std::fabs(t.intervalUs - facts.intervalUs) > 0.005 * facts.intervalUs) {
                const std::string line = num(static_cast<long long>(facts.intervalLine));
                return "第 " + line + " 行的采样间隔与时间列不符 / line " + line +
                       ": the sample interval differs from the time column's";
            }
            t.intervalUs = facts.intervalUs;
        }
        if (facts.pileLength > 0.0) t.pileLength = facts.pileLength;
        if (facts.waveSpeed > 0.0) t.waveSpeed = facts.waveSpeed;
        if (facts.sensorType >= 0) t.sensorType = facts.sensorType;
    }
    return {};
}

// ---- the program's own waveform text export ---------------------------------------

// "测点数：3" and the like: the value after the label, or false.
bool labelled(std::string_view line, std::string_view label, std::string_view& value) {
    line = trim(line);
    if (line.substr(0, label.size()) != label) return false;
    line.remove_prefix(label.size());
    for (std::string_view colon : {"：", ":"}) {
        if (line.substr(0, colon.size()) == colon) {
            value = trim(line.substr(colon.size()));
            return true;
        }
    }
    return false;
}

// The separator of a data line written as "value SEP value SEP ... value SEP": what the
// line ends with, the shortest that splits it into numbers as the export writes them.
// `expected` (0: any) values or twice as many (with times).
bool splitExportLine(std::string_view line, std::size_t expected, std::vector<double>& values) {
    while (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    // every point of a headerless export of the most points runs on this line
    const std::size_t most = 2 * static_cast<std::size_t>(kMaxImportSamples) *
                             static_cast<std::size_t>(kMaxImportPoints);
    for (std::size_t len = 1; len <= std::min<std::size_t>(8, line.size()); ++len) {
        const std::string_view sep = line.substr(line.size() - len);
        if (isDigit(sep.front())) break;  // the separator cannot hold the last value's digits
        values.clear();
        std::size_t start = 0;
        bool ok = true;
        while (start < line.size()) {
            std::size_t at = line.find(sep, start);
            if (at == std::string_view::npos) {
                ok = false;
                break;
            }
            double v;
            if (!parseExportNumber(line.substr(start, at - start), v)) {
                ok = false;
                break;
            }
            values.push_back(v);
            if (values.size() > most) return false;
            start = at + sep.size();
        }
        if (ok && !values.empty() &&
            (expected == 0 || values.size() == expected || values.size() == 2 * expected))
            return true;
    }
    return false;
}

// Takes the samples of a point from its values: `withTimes` pairs (time in us, value).
std::string pointFromValues(const std::vector<double>& values, bool withTimes, ImportedTrace& trace,
                            const std::string& where) {
    if (!withTimes) {
        trace.samples.assign(values.begin(), values.end());
        return {};
    }
    std::vector<double> times;
    for (std::size_t i = 0; i + 1 < values.size(); i += 2) {
        times.push_back(values[i]);
        trace.samples.push_back(static_cast<float>(values[i + 1]));
    }
    if (times.size() >= 2 && !constantInterval(times, 0.01, trace.intervalUs))
        return notConstant(where);
    return {};
}

// With the header lines: 测点数, then per point 测点桩号, 数据长度 and one data line.
// "key: value" lines (桩长：12.00, 波速：3800 ...) may stand between a point's lines and
// belong to that point.
TraceParseResult parseOwnExport(const std::vector<std::string_view>& lines) {
    TraceParseResult r;
    std::size_t i = 0;
    auto skipBlank = [&] {
        while (i < lines.size() && trim(lines[i]).empty()) ++i;
        return i < lines.size();
    };
    std::string_view line, value;
    skipBlank();
    labelled(lines[i++], "测点数", value);
    long count = -1;
    auto cr = std::from_chars(value.data(), value.data() + value.size(), count);
    if (cr.ec != std::errc() || cr.ptr != value.data() + value.size() || count < 0) {
        r.message = "测点数一行无法读出 / the 测点数 (point count) line cannot be read";
        return r;
    }
    if (count > kMaxImportPoints) {
        r.message = tooManyPoints(static_cast<std::size_t>(count));
        return r;
    }
    std::vector<double> values;
    while (skipBlank()) {
        line = lines[i++];
        const std::string where = "第 " + num(static_cast<long long>(i)) + " 行：";
        const std::string whereEn = " (line " + num(static_cast<long long>(i)) + ")";
        ImportedTrace t;
        std::string_view pile, lengthText;
        if (!labelled(line, "测点桩号", pile)) {
            r.message =
                where + "应为“测点桩号：” / a 测点桩号 (pile number) line expected" + whereEn;
            return r;
        }
        t.name = std::string(pile);
        TraceFacts facts;
        // the point's own "key: value" lines, before and after its data length
        auto pointFacts = [&](bool beforeLength) {
            std::string_view key, v;
            while (i < lines.size() && !labelled(lines[i], "数据长度", v) &&
                   !(!beforeLength && splitExportLine(lines[i], 0, values)) &&
                   !labelled(lines[i], "测点桩号", v) && keyValueLine(trim(lines[i]), key, v)) {
                if (!applyFact(key, v, i + 1, facts, r.message)) return false;
                ++i;
            }
            return true;
        };
        if (!pointFacts(true)) return r;
        long length = -1;
        if (i >= lines.size() || !labelled(lines[i], "数据长度", lengthText) ||
            std::from_chars(lengthText.data(), lengthText.data() + lengthText.size(), length).ptr !=
                lengthText.data() + lengthText.size() ||
            length < 0) {
            r.message =
                where + "其后应为“数据长度：” / a 数据长度 (data length) line expected" + whereEn;
            return r;
        }
        ++i;
        if (length > kMaxImportSamples) {
            r.message = tooManySamples(where, static_cast<std::size_t>(length));
            return r;
        }
        if (length == 0) {
            r.message = where + "测点没有采样 / a point without samples" + whereEn;
            return r;
        }
        if (!pointFacts(false)) return r;
        if (i >= lines.size() ||
            !splitExportLine(lines[i], static_cast<std::size_t>(length), values)) {
            r.message = where + "其后的数据行不是 " + num(length) +
                        " 个数值 / the data line does not hold " + num(length) + " values" +
                        whereEn;
            return r;
        }
        ++i;
        if (std::string m =
                pointFromValues(values, values.size() == 2 * std::size_t(length), t, where);
            !m.empty()) {
            r.message = m;
            return r;
        }
        std::vector<ImportedTrace> one{std::move(t)};
        if (std::string m = giveFacts(facts, one); !m.empty()) {
            r.message = m;
            return r;
        }
        r.traces.push_back(std::move(one[0]));
        if (r.traces.size() > static_cast<std::size_t>(count)) break;
    }
    if (r.traces.size() != static_cast<std::size_t>(count)) {
        r.message = "测点数为 " + num(count) + "，读出 " + num(long(r.traces.size())) +
                    " 个测点 / 测点数 says " + num(count) + " points, " +
                    num(long(r.traces.size())) + " found";
        r.traces.clear();
    }
    return r;
}

// Without the header every value runs on one line. With times, a time back at zero
// starts the next point (a point of one sample has the time 0 alone); without times the
// line is one trace, as the points cannot be told apart.
bool parseHeaderlessExport(std::string_view line, TraceParseResult& r) {
    std::vector<double> values;
    if (!splitExportLine(line, 0, values)) return false;
    // times: every other value, rising evenly from 0 and back to 0 at each new point
    bool timed = values.size() % 2 == 0 && values.size() >= 4 && values[0] == 0.0;
    std::vector<std::size_t> starts;
    if (timed) {
        for (std::size_t k = 0; k < values.size(); k += 2) {
            if (values[k] == 0.0)
                starts.push_back(k);
            else if (!(values[k] > values[k - 2]))
                timed = false;
        }
        starts.push_back(values.size());
        // one point of two samples or more must show its interval
        bool someInterval = false;
        for (std::size_t s = 0; timed && s + 1 < starts.size(); ++s) {
            if (starts[s + 1] - starts[s] < 4) continue;
            std::vector<double> times;
            for (std::size_t k = starts[s]; k < starts[s + 1]; k += 2) times.push_back(values[k]);
            double step;
            if (!constantInterval(times, 0.01, step)) timed = false;
            someInterval = true;
        }
        timed = timed && someInterval;
    }
    if (!timed) {
        if (values.size() > static_cast<std::size_t>(kMaxImportSamples)) {
            const std::string n = num(static_cast<long long>(values.size()));
            r.message = "一行中有 " + n + " 个数值，超过一个波形最多的 " + num(kMaxImportSamples) +
                        " 个采样；导出时选上数据头或每点声时，各测点才能分开 / " + n +
                        " values on one line, more than the " + num(kMaxImportSamples) +
                        " samples of a trace: export with the header or the time column to "
                        "keep the points apart";
            return true;
        }
        starts = {0, values.size()};
    }
    if (starts.size() - 1 > static_cast<std::size_t>(kMaxImportPoints)) {
        r.message = tooManyPoints(starts.size() - 1);
        return true;
    }
    for (std::size_t s = 0; s + 1 < starts.size(); ++s) {
        std::vector<double> part(values.begin() + static_cast<long>(starts[s]),
                                 values.begin() + static_cast<long>(starts[s + 1]));
        ImportedTrace t;
        pointFromValues(part, timed, t, {});
        r.traces.push_back(std::move(t));
    }
    return true;
}

// ---- plain delimited text -------------------------------------------------------------

enum class Delimiter { Tab, Semicolon, Comma, Blank };

std::vector<std::string_view> splitFields(std::string_view line, Delimiter d) {
    std::vector<std::string_view> f;
    if (d == Delimiter::Blank) {
        std::size_t i = 0;
        while (i < line.size()) {
            while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
            if (i >= line.size()) break;
            std::size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
            f.push_back(line.substr(start, i - start));
        }
        return f;
    }
    const char c = d == Delimiter::Tab ? '\t' : d == Delimiter::Semicolon ? ';' : ',';
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == c) {
            f.push_back(trim(line.substr(start, i - start)));
            start = i + 1;
        }
    }
    return f;
}

std::string_view unquote(std::string_view s) {
    s = trim(s);
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"') s = trim(s.substr(1, s.size() - 2));
    return s;
}

// The fields of a row without the empty ones at its end (a trailing separator, or the
// cells of traces that ended above).
std::vector<std::string_view> rowFields(std::string_view text, Delimiter d) {
    auto f = splitFields(text, d);
    while (!f.empty() && unquote(f.back()).empty()) f.pop_back();
    return f;
}

// A units row under the header: no cell is a number ("ms", "(mV)", "" ...).
bool unitsRow(const std::vector<std::string_view>& fields) {
    double v;
    return !fields.empty() && std::none_of(fields.begin(), fields.end(),
                                           [&](std::string_view f) { return parseNumber(f, v); });
}

// A time unit written alone ("ms", "(us)", "[s]", "微秒"): the factor to microseconds.
bool timeUnit(std::string_view text, double& toMicroseconds) {
    std::string u;
    for (char c : lowerAscii(unquote(text)))
        if (c != ' ' && c != '(' && c != ')' && c != '[' && c != ']') u += c;
    if (u == "s" || u == "秒")
        toMicroseconds = 1e6;
    else if (u == "ms" || u == "毫秒")
        toMicroseconds = 1e3;
    else if (u == "us" || u == "µs" || u == "μs" || u == "微秒")
        toMicroseconds = 1.0;
    else
        return false;
    return true;
}

const char* kDecimalComma =
    "数值用了小数逗号（如 0,5），请改用小数点后再导入 / numbers with a decimal comma "
    "(0,5) are not read: use a decimal point";

TraceParseResult parseDelimited(const std::vector<std::string_view>& allLines) {
    TraceParseResult r;
    struct Row {
        std::size_t line;  // 1-based
        std::string_view text;
    };
    std::vector<Row> rows;
    for (std::size_t i = 0; i < allLines.size(); ++i) {
        std::string_view t = trim(allLines[i]);
        if (!t.empty() && t[0] != '#') rows.push_back({i + 1, t});
    }
    // "key: value" lines above the table
    TraceFacts facts;
    std::size_t top = 0;
    for (std::string_view key, value; top < rows.size() && keyValueLine(rows[top].text, key, value);
         ++top)
        if (!applyFact(key, value, rows[top].line, facts, r.message)) return r;
    rows.erase(rows.begin(), rows.begin() + static_cast<long>(top));
    if (rows.empty()) {
        r.message = "文件中没有数据 / the file holds no data";
        return r;
    }
    // The first row (the header, or the first values) tells the delimiter.
    auto firstHas = [&](char c) { return rows[0].text.find(c) != std::string_view::npos; };
    Delimiter d = firstHas('\t')  ? Delimiter::Tab
                  : firstHas(';') ? Delimiter::Semicolon
                  : firstHas(',') ? Delimiter::Comma
                                  : Delimiter::Blank;
    if (d == Delimiter::Comma) {
        // "0,5 1,25": blank separated numbers with decimal commas, not commas between
        for (const Row& row : rows) {
            auto blanks = splitFields(row.text, Delimiter::Blank);
            if (blanks.size() >= 2 &&
                std::all_of(blanks.begin(), blanks.end(), looksLikeDecimalComma)) {
                r.message = kDecimalComma;
                return r;
            }
        }
    }

    std::vector<std::string_view> header;
    std::size_t first = 0;
    double toUs = 0.0;
    bool timeColumn = false;
    {
        auto fields = rowFields(rows[0].text, d);
        double v;
        if (std::any_of(fields.begin(), fields.end(),
                        [&](std::string_view f) { return !parseNumber(f, v); }) &&
            !(d != Delimiter::Comma &&
              std::all_of(fields.begin(), fields.end(), looksLikeDecimalComma))) {
            header = fields;
            first = 1;
            timeColumn = timeColumnUnit(unquote(header[0]), toUs);
            if (rows.size() > 1) {
                auto units = rowFields(rows[1].text, d);
                if (unitsRow(units) &&
                    !(d != Delimiter::Comma &&
                      std::all_of(units.begin(), units.end(), looksLikeDecimalComma))) {
                    first = 2;
                    double f;
                    if (timeColumn && toUs == 0.0 && timeUnit(units[0], f)) toUs = f;
                }
            }
        }
    }
    if (rows.size() == first) {
        r.message = "文件中只有标题行，没有数据 / only a header row, no data";
        return r;
    }
    // a single row of numbers is one trace, as a single column is
    const bool oneRow = header.empty() && rows.size() == 1;
    const std::size_t sampleCount =
        oneRow ? rowFields(rows[0].text, d).size() : rows.size() - first;
    if (sampleCount > static_cast<std::size_t>(kMaxImportSamples)) {
        r.message = tooManySamples({}, sampleCount);
        return r;
    }
    const std::size_t columns = oneRow           ? 1
                                : header.empty() ? rowFields(rows[first].text, d).size()
                                                 : header.size();
    const std::size_t skip = timeColumn ? 1 : 0;
    const std::size_t traces = columns - skip;
    if (traces == 0) {
        r.message = "文件中只有时间列，没有波形 / only a time column, no trace";
        return r;
    }
    if (traces > static_cast<std::size_t>(kMaxImportPoints)) {
        r.message = tooManyPoints(traces);
        return r;
    }

    r.traces.resize(traces);
    for (std::size_t k = 0; k < traces; ++k) {
        if (!header.empty()) r.traces[k].name = std::string(unquote(header[k + skip]));
        r.traces[k].samples.reserve(sampleCount);
    }
    auto fail = [&](std::string message) {
        r.message = std::move(message);
        r.traces.clear();
        return r;
    };
    auto notANumber = [&](std::size_t line, std::size_t column, std::string_view field) {
        const bool comma = d != Delimiter::Comma && looksLikeDecimalComma(field);
        return comma ? std::string(kDecimalComma)
                     : lineWhere(line) + "第 " + num(long(column)) + " 列“" +
                           std::string(field.substr(0, 40)) + "”不是数值 / line " +
                           num(static_cast<long long>(line)) + ", column " + num(long(column)) +
                           ": not a number";
    };
    if (oneRow) {
        for (std::string_view f : rowFields(rows[0].text, d)) {
            double v;
            if (!parseNumber(f, v))
                return fail(notANumber(rows[0].line, r.traces[0].samples.size() + 1, f));
            r.traces[0].samples.push_back(static_cast<float>(v));
        }
        if (std::string m = giveFacts(facts, r.traces); !m.empty()) return fail(m);
        return r;
    }
    // A column may end before the others (a shorter trace): its cells are empty or the
    // row stops before it, and stay so to the end.
    std::vector<std::size_t> endedAt(columns, 0);  // the line of its first empty cell
    std::vector<double> times;
    int timeDecimals = 0;
    for (std::size_t i = first; i < rows.size(); ++i) {
        auto fields = rowFields(rows[i].text, d);
        const std::size_t line = rows[i].line;
        if (fields.size() > columns)
            return fail(lineWhere(line) + "有 " + num(long(fields.size())) + " 列，应为 " +
                        num(long(columns)) + " 列 / line " + num(static_cast<long long>(line)) +
                        ": " + num(long(fields.size())) + " columns, " + num(long(columns)) +
                        " expected");
        for (std::size_t c = 0; c < columns; ++c) {
            const std::string_view field = c < fields.size() ? fields[c] : std::string_view();
            if (unquote(field).empty()) {
                if (endedAt[c] == 0) endedAt[c] = line;
                continue;
            }
            double v;
            if (!parseNumber(field, v)) return fail(notANumber(line, c + 1, field));
            if (endedAt[c] != 0) {
                const std::string at = num(static_cast<long long>(endedAt[c]));
                return fail(lineWhere(line) + "第 " + num(long(c + 1)) + " 列：此列在第 " + at +
                            " 行已经结束 / line " + num(static_cast<long long>(line)) +
                            ", column " + num(long(c + 1)) + ": the column ended at line " + at);
            }
            if (timeColumn && c == 0) {
                times.push_back(v);
                timeDecimals = std::max(timeDecimals, decimalsOf(field));
            } else {
                r.traces[c - skip].samples.push_back(static_cast<float>(v));
            }
        }
    }
    for (std::size_t k = 0; k < traces; ++k)
        if (r.traces[k].samples.empty()) {
            const std::string c = num(long(k + skip + 1));
            return fail("第 " + c + " 列没有数值 / column " + c + " holds no number");
        }
    if (timeColumn && toUs > 0.0 && times.size() >= 2) {
        double step;
        if (!constantInterval(times, std::pow(10.0, -std::min(timeDecimals, 15)), step))
            return fail(notConstant({}));
        for (auto& t : r.traces) t.intervalUs = step * toUs;
    }
    if (std::string m = giveFacts(facts, r.traces); !m.empty()) return fail(m);
    return r;
}

}  // namespace

bool timeColumnUnit(std::string_view header, double& toMicroseconds) {
    std::string h;
    for (char c : trim(header)) h += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    std::string_view rest;
    bool found = false;
    for (std::string_view base : {"时间", "time", "t"}) {
        if (std::string_view(h).substr(0, base.size()) == base) {
            rest = std::string_view(h).substr(base.size());
            found = true;
            break;
        }
    }
    if (!found) return false;
    std::string unit;
    for (char c : rest)
        if (c != ' ' && c != '_' && c != '(' && c != ')' && c != '[' && c != ']' && c != '/' &&
            c != '-' && c != '.')
            unit += c;
    if (unit.empty())
        toMicroseconds = 0.0;
    else if (unit == "s")
        toMicroseconds = 1e6;
    else if (unit == "ms")
        toMicroseconds = 1e3;
    else if (unit == "us" || unit == "µs" || unit == "μs")
        toMicroseconds = 1.0;
    else
        return false;
    return true;
}

std::string readTraceImportForm(const TraceImportForm& form, TraceImportOptions& out) {
    TraceImportOptions o;
    auto read = [](const std::string& text, double lo, double hi, double& v) {
        if (trim(text).empty()) return true;
        return parseNumber(text, v) && v >= lo && v <= hi;
    };
    if ((form.intervalNeeded && trim(form.interval).empty()) ||
        !read(form.interval, kMinSampleIntervalUs, kMaxSampleIntervalUs, o.intervalUs))
        return kMsgBadImportInterval;
    if (!read(form.length, 1e-3, 1e4, o.pileLength)) return kMsgBadImportLength;
    if (!read(form.speed, 1.0, 32767.0, o.waveSpeed)) return kMsgBadImportSpeed;
    o.sensorType = form.sensor == 1 ? 1 : 0;
    out = o;
    return {};
}

TraceParseResult parseTraceText(std::string_view bytes) {
    const std::string text = decodeText(bytes);
    const std::vector<std::string_view> lines = splitLines(text);
    std::vector<std::string_view> nonEmpty;
    for (auto l : lines)
        if (!trim(l).empty()) nonEmpty.push_back(l);
    TraceParseResult r;
    std::string_view value;
    if (!nonEmpty.empty() && labelled(nonEmpty[0], "测点数", value)) {
        r = parseOwnExport(lines);
    } else if (nonEmpty.size() == 1 && !isDigit(nonEmpty[0].back()) &&
               parseHeaderlessExport(nonEmpty[0], r)) {
    } else {
        r = parseDelimited(lines);
    }
    if (!r.message.empty()) {
        r.traces.clear();
        return r;
    }
    if (r.traces.empty()) {
        r.message = "文件中没有波形 / the file holds no trace";
        return r;
    }
    for (const auto& t : r.traces) {
        if (t.samples.empty()) {
            r.message = "波形没有采样 / a trace without samples";
        } else if (t.samples.size() > static_cast<std::size_t>(kMaxImportSamples)) {
            r.message = tooManySamples({}, t.samples.size());
        }
        if (!r.message.empty()) {
            r.traces.clear();
            return r;
        }
        if (t.intervalUs <= 0.0) r.needsInterval = true;
    }
    return r;
}

int firstSampleAboveNoise(const std::vector<float>& s) {
    if (s.empty()) return 0;
    const double base = s[0];
    double peak = 0.0;
    for (float v : s) peak = std::max(peak, std::fabs(v - base));
    if (peak <= 0.0) return 0;
    // the quiet start before the blow tells the noise
    double noise = 0.0;
    const std::size_t quiet = std::min<std::size_t>(8, s.size());
    for (std::size_t i = 0; i < quiet; ++i) noise = std::max(noise, std::fabs(s[i] - base));
    const double threshold = std::max(std::min(4.0 * noise, 0.5 * peak), 0.02 * peak);
    for (std::size_t i = 0; i < s.size(); ++i)
        if (std::fabs(s[i] - base) > threshold) return static_cast<int>(i);
    return 0;
}

TestPoint importedPoint(const ImportedTrace& trace, const TraceImportOptions& options,
                        int ordinal) {
    TestPoint p;  // every text empty, every number 0, as a new point
    // nobody gave the pile type: a custom type without a name, shown empty and kept
    // so by the data file (index 0 would be a real type)
    p.pileTypeIndex = kUnknownPileType;
    setText(p.pileNo, utf8ToGbk(trace.name.empty() ? std::to_string(ordinal) : trace.name));
    const double interval = trace.intervalUs > 0.0 ? trace.intervalUs : options.intervalUs;
    p.sampleInterval = static_cast<float>(interval);
    p.recordedLength = static_cast<std::int16_t>(trace.samples.size());
    p.rawSamples = trace.samples;
    p.samples = trace.samples;
    const int sensor = trace.sensorType >= 0 ? trace.sensorType : options.sensorType;
    if (sensor >= 0) p.sensorType = static_cast<std::int16_t>(sensor);
    const double length = trace.pileLength > 0.0 ? trace.pileLength : options.pileLength;
    const double speed = trace.waveSpeed > 0.0 ? trace.waveSpeed : options.waveSpeed;
    if (length > 0.0) p.pileLength = static_cast<float>(length);
    if (speed > 0.0) p.waveSpeed = static_cast<std::int16_t>(std::lround(std::min(speed, 32767.0)));
    p.headIndex = static_cast<std::int16_t>(firstSampleAboveNoise(trace.samples));
    if (p.pileLength > 0.0f && p.waveSpeed > 0 && interval > 0.0) {
        // the toe echo comes back after twice the length at the wave speed; a toe
        // beyond the record is left unset
        const double toe =
            p.headIndex + std::trunc(2.0 * p.pileLength / p.waveSpeed * 1e6 / interval);
        if (toe < static_cast<double>(trace.samples.size()))
            p.toeIndex = static_cast<std::int16_t>(toe);
    }
    return p;
}

std::string implausibleIntervalMessage(double us) {
    if (plausibleSampleInterval(us)) return {};
    char v[64];
    std::snprintf(v, sizeof v, "%g", us);
    return std::string("采样间隔 ") + v +
           " 微秒不在仪器记录的范围（0.1～10000 微秒）内 / sample interval " + v +
           " us is outside what an instrument records (0.1..10000 us)";
}

std::string ImportTraceFiles(CSondaraDoc& doc, const std::vector<std::string>& paths,
                             const TraceImportOptions& options, bool* needsInterval,
                             std::vector<double>* intervalsRead) {
    if (needsInterval) *needsInterval = false;
    if (intervalsRead) intervalsRead->clear();
    if (options.intervalUs != 0.0) {
        if (std::string m = implausibleIntervalMessage(options.intervalUs); !m.empty()) return m;
    }
    std::vector<ImportedTrace> traces;
    std::string missingInterval;
    for (const std::string& path : paths) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes;
        if (in) {
            in.seekg(0, std::ios::end);
            const auto size = static_cast<std::streamoff>(in.tellg());
            if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxImportFileBytes)
                return path + ": 文件过大 / the file is too large";
            bytes.resize(static_cast<std::size_t>(size));
            in.seekg(0);
            in.read(bytes.data(), size);
        }
        if (!in) return path + ": 文件无法读取 / the file cannot be read";
        TraceParseResult r = parseTraceText(bytes);
        if (!r.message.empty()) return path + ": " + r.message;
        for (std::size_t k = 0; k < r.traces.size(); ++k) {
            const double us = r.traces[k].intervalUs;
            if (us <= 0.0) continue;
            if (std::string m = implausibleIntervalMessage(us); !m.empty()) {
                const std::string n = num(static_cast<long long>(k + 1));
                return path + ": 第 " + n + " 个波形：" +
                       m.replace(m.find(" / ") + 3, 0, "trace " + n + ": ");
            }
            if (intervalsRead &&
                std::find(intervalsRead->begin(), intervalsRead->end(), us) == intervalsRead->end())
                intervalsRead->push_back(us);
        }
        // a missing interval is told once every file has been read, so that the
        // others' faults and intervals are known
        if (r.needsInterval && !(options.intervalUs > 0.0) && missingInterval.empty())
            missingInterval = path +
                              ": 文件中没有采样间隔，请给出采样间隔（--dt 微秒） / the file gives "
                              "no sample interval: give it (--dt US)";
        if (traces.size() + r.traces.size() > static_cast<std::size_t>(kMaxImportPoints))
            return tooManyPoints(traces.size() + r.traces.size());
        for (auto& t : r.traces) traces.push_back(std::move(t));
    }
    if (!missingInterval.empty()) {
        if (needsInterval) *needsInterval = true;
        return missingInterval;
    }
    if (traces.empty()) return "没有可导入的波形 / no trace to import";

    CSondaraDoc fresh;
    setVersionTag(fresh.info, "QAR16");
    for (std::size_t i = 0; i < traces.size(); ++i)
        fresh.points.push_back(importedPoint(traces[i], options, static_cast<int>(i + 1)));
    fresh.info.pointCount = static_cast<int>(fresh.points.size());
    fresh.originalInfo = fresh.info;
    fresh.originalPoints.resize(fresh.points.size());
    for (std::size_t i = 0; i < fresh.points.size(); ++i)
        copyPoint(fresh.points[i], fresh.originalPoints[i]);

    doc.clear();
    doc.info = fresh.info;
    doc.originalInfo = fresh.originalInfo;
    doc.points = std::move(fresh.points);
    doc.originalPoints = std::move(fresh.originalPoints);
    finishLoad(doc, true);  // a new, unsaved project
    return {};
}

}  // namespace sondara
