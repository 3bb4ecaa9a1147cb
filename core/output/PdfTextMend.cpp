#include "core/output/PdfTextMend.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
// qpdf without its old PointerHolder: std::shared_ptr throughout.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>
#include <utility>
#include <vector>

#include "core/base/ByteIo.h"

namespace sondara {

namespace {

struct Equivalent {
    char32_t radical, ideograph;
};
constexpr Equivalent kEquivalents[] = {
#include "core/output/RadicalEquivalents.inc"
};

// ---- the CMap's tokens --------------------------------------------------------------

struct Token {
    enum Kind { Hex, Word, Open, Close, Other } kind = Other;
    size_t begin = 0, end = 0;  // in the text, the whole token
};

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\0';
}
bool isDelimiter(char c) {
    return isSpace(c) || c == '(' || c == ')' || c == '<' || c == '>' || c == '[' || c == ']' ||
           c == '{' || c == '}' || c == '/' || c == '%';
}

// The tokens of a PostScript-like text; false when a string or hex string is not closed.
bool tokenise(std::string_view s, std::vector<Token>& out) {
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        const char c = s[i];
        if (isSpace(c)) {
            ++i;
            continue;
        }
        Token t;
        t.begin = i;
        if (c == '%') {
            while (i < n && s[i] != '\n' && s[i] != '\r') ++i;
            continue;
        }
        if (c == '<' && i + 1 < n && s[i + 1] == '<') {
            i += 2;
        } else if (c == '>' && i + 1 < n && s[i + 1] == '>') {
            i += 2;
        } else if (c == '<') {
            const size_t close = s.find('>', i);
            if (close == std::string_view::npos) return false;
            t.kind = Token::Hex;
            i = close + 1;
        } else if (c == '[') {
            t.kind = Token::Open;
            ++i;
        } else if (c == ']') {
            t.kind = Token::Close;
            ++i;
        } else if (c == '(') {
            int depth = 0;
            for (; i < n; ++i) {
                if (s[i] == '\\') {
                    ++i;
                } else if (s[i] == '(') {
                    ++depth;
                } else if (s[i] == ')' && --depth == 0) {
                    break;
                }
            }
            if (i >= n) return false;
            ++i;
        } else if (c == '/' || !isDelimiter(c)) {
            t.kind = c == '/' ? Token::Other : Token::Word;
            ++i;
            while (i < n && !isDelimiter(s[i])) ++i;
        } else {
            ++i;  // a stray delimiter
        }
        t.end = i;
        out.push_back(t);
    }
    return true;
}

// ---- hex strings of UTF-16BE -------------------------------------------------------

// The bytes of a hex string token ("<0041 0042>"); false for a character that is not
// a hex digit.
bool hexBytes(std::string_view token, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    int digits = 0, value = 0;
    for (char c : token.substr(1, token.size() - 2)) {
        if (isSpace(c)) continue;
        int d;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        } else {
            return false;
        }
        value = value * 16 + d;
        if (++digits % 2 == 0) {
            bytes.push_back(static_cast<std::uint8_t>(value));
            value = 0;
        }
    }
    if (digits % 2) bytes.push_back(static_cast<std::uint8_t>(value * 16));  // a final 0
    return true;
}

std::vector<char32_t> utf16ToCodePoints(const std::vector<std::uint8_t>& b) {
    std::vector<char32_t> out;
    for (size_t i = 0; i + 1 < b.size(); i += 2) {
        char32_t u = static_cast<char32_t>(b[i] << 8 | b[i + 1]);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < b.size()) {
            const char32_t lo = static_cast<char32_t>(b[i + 2] << 8 | b[i + 3]);
            if (lo >= 0xDC00 && lo < 0xE000) {
                u = 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
                i += 2;
            }
        }
        out.push_back(u);
    }
    return out;
}

std::string hexOfCodePoints(const std::vector<char32_t>& cps) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out = "<";
    auto unit = [&](char32_t u) {
        for (int shift = 12; shift >= 0; shift -= 4) out += kDigits[(u >> shift) & 0xF];
    };
    for (char32_t c : cps) {
        if (c >= 0x10000) {
            unit(0xD800 + ((c - 0x10000) >> 10));
            unit(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit(c);
        }
    }
    return out + ">";
}

// The target with every radical replaced; false when there is none (or it is not hex).
bool mendTarget(std::string_view token, std::string& mended) {
    std::vector<std::uint8_t> bytes;
    if (!hexBytes(token, bytes) || bytes.size() % 2) return false;
    std::vector<char32_t> cps = utf16ToCodePoints(bytes);
    bool changed = false;
    for (char32_t& c : cps) {
        const char32_t u = UnifiedIdeographOf(c);
        changed |= u != c;
        c = u;
    }
    if (changed) mended = hexOfCodePoints(cps);
    return changed;
}

// The targets of a range "<lo> <hi> <first>": the first target, its last UTF-16 unit
// counted up for every further code. Empty when it cannot be expanded (too long, a
// target that is no UTF-16, or codes that do not count up within their last byte).
std::vector<std::string> rangeTargets(std::string_view lo, std::string_view hi,
                                      std::string_view first) {
    std::vector<std::uint8_t> a, b, d;
    if (!hexBytes(lo, a) || !hexBytes(hi, b) || !hexBytes(first, d)) return {};
    if (a.empty() || a.size() != b.size() || d.size() < 2 || d.size() % 2) return {};
    if (!std::equal(a.begin(), a.end() - 1, b.begin()) || b.back() < a.back()) return {};
    const int count = b.back() - a.back() + 1;
    std::vector<std::string> out;
    for (int k = 0; k < count; ++k) {
        std::vector<std::uint8_t> t = d;
        unsigned last = (static_cast<unsigned>(t[t.size() - 2]) << 8 | t.back()) + k;
        t[t.size() - 2] = static_cast<std::uint8_t>((last >> 8) & 0xFF);
        t.back() = static_cast<std::uint8_t>(last & 0xFF);
        out.push_back(hexOfCodePoints(utf16ToCodePoints(t)));
    }
    return out;
}

}  // namespace

char32_t UnifiedIdeographOf(char32_t c) {
    if (c < 0x2E80 || c > 0x2FDF) return c;
    const auto* end = std::end(kEquivalents);
    const auto* it =
        std::lower_bound(std::begin(kEquivalents), end, c,
                         [](const Equivalent& e, char32_t v) { return e.radical < v; });
    return it != end && it->radical == c ? it->ideograph : c;
}

std::string MendToUnicodeCMap(std::string_view cmap) {
    std::vector<Token> tokens;
    if (!tokenise(cmap, tokens)) return std::string(cmap);
    auto text = [&](const Token& t) { return cmap.substr(t.begin, t.end - t.begin); };
    auto word = [&](const Token& t, std::string_view w) {
        return t.kind == Token::Word && text(t) == w;
    };
    // Replacements of tokens, in the order of the text.
    std::vector<std::pair<size_t, std::string>> edits;  // token index, new text
    std::string mended;
    const size_t n = tokens.size();
    for (size_t i = 0; i < n; ++i) {
        if (word(tokens[i], "beginbfchar")) {
            // pairs of <code> <target>
            size_t k = i + 1;
            for (; k + 1 < n && tokens[k].kind == Token::Hex; k += 2)
                if (tokens[k + 1].kind == Token::Hex && mendTarget(text(tokens[k + 1]), mended))
                    edits.emplace_back(k + 1, mended);
            i = k - 1;
        } else if (word(tokens[i], "beginbfrange")) {
            // <lo> <hi> <first target> or <lo> <hi> [<target> ...]
            size_t k = i + 1;
            while (k + 2 < n && tokens[k].kind == Token::Hex && tokens[k + 1].kind == Token::Hex) {
                const Token& dst = tokens[k + 2];
                if (dst.kind == Token::Hex) {
                    std::vector<std::string> targets =
                        rangeTargets(text(tokens[k]), text(tokens[k + 1]), text(dst));
                    bool changed = false;
                    for (std::string& t : targets) changed |= mendTarget(t, t);
                    if (changed) {
                        std::string array = "[";
                        for (size_t j = 0; j < targets.size(); ++j)
                            array += (j ? " " : "") + targets[j];
                        edits.emplace_back(k + 2, array + "]");
                    }
                    k += 3;
                } else if (dst.kind == Token::Open) {
                    k += 3;
                    for (; k < n && tokens[k].kind == Token::Hex; ++k)
                        if (mendTarget(text(tokens[k]), mended)) edits.emplace_back(k, mended);
                    if (k < n && tokens[k].kind == Token::Close) ++k;
                } else {
                    break;
                }
            }
            i = k - 1;
        }
    }
    if (edits.empty()) return std::string(cmap);
    std::string out;
    out.reserve(cmap.size() + 64 * edits.size());
    size_t at = 0;
    for (const auto& [index, replacement] : edits) {
        out.append(cmap.substr(at, tokens[index].begin - at));
        out += replacement;
        at = tokens[index].end;
    }
    out.append(cmap.substr(at));
    return out;
}

bool MendPdfBytes(std::string& bytes, const std::string& what, std::string& error) {
    std::string result;  // the reader keeps reading `bytes` until it is gone
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processMemoryFile(what.c_str(), bytes.data(), bytes.size());
        bool changed = false;
        for (QPDFObjectHandle obj : pdf.getAllObjects()) {
            if (!obj.isDictionary() || !obj.hasKey("/ToUnicode")) continue;
            QPDFObjectHandle map = obj.getKey("/ToUnicode");
            if (!map.isStream()) continue;
            const std::shared_ptr<Buffer> data = map.getStreamData(qpdf_dl_generalized);
            const std::string_view cmap(reinterpret_cast<const char*>(data->getBuffer()),
                                        data->getSize());
            std::string mended = MendToUnicodeCMap(cmap);
            if (mended == cmap) continue;
            map.replaceStreamData(mended, QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
            changed = true;
        }
        if (!changed) return true;
        QPDFWriter w(pdf);
        w.setOutputMemory();
        w.setCompressStreams(true);
        w.write();
        const std::shared_ptr<Buffer> out = w.getBufferSharedPointer();
        result.assign(reinterpret_cast<const char*>(out->getBuffer()), out->getSize());
    } catch (const std::exception& e) {
        error = "PDF文件无法读取：" + what + "（" + e.what() + "）";
        return false;
    }
    if (!result.empty()) bytes = std::move(result);
    return true;
}

bool MendPdfText(const std::string& path, std::string& error) {
    std::string bytes;
    std::string readError;
    auto src = openFileSource(path, &readError);
    if (!src) {
        error = "PDF文件无法读取：" + path + "（" + readError + "）";
        return false;
    }
    bytes.resize(src->size());
    if (src->read(bytes.data(), bytes.size()) != bytes.size()) {
        error = "PDF文件无法读取：" + path;
        return false;
    }
    const std::string before = bytes;
    if (!MendPdfBytes(bytes, path, error)) return false;
    if (bytes == before) return true;
    if (!WriteFileAtomically(path, bytes, error)) return false;
    return true;
}

}  // namespace sondara
