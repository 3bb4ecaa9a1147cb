#include "core/base/Json.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace sondara::json {

const Value* Value::find(std::string_view key) const {
    for (const Member& m : members_)
        if (m.first == key) return &m.second;
    return nullptr;
}

Value Value::makeBool(bool b) {
    Value v;
    v.kind_ = Kind::Bool;
    v.bool_ = b;
    return v;
}

Value Value::makeNumber(double d) {
    Value v;
    v.kind_ = Kind::Number;
    v.number_ = d;
    return v;
}

Value Value::makeString(std::string s) {
    Value v;
    v.kind_ = Kind::String;
    v.string_ = std::move(s);
    return v;
}

Value Value::makeArray(std::vector<Value> items) {
    Value v;
    v.kind_ = Kind::Array;
    v.items_ = std::move(items);
    return v;
}

Value Value::makeObject(std::vector<Member> members) {
    Value v;
    v.kind_ = Kind::Object;
    v.members_ = std::move(members);
    return v;
}

namespace {

struct ParseError {
    std::size_t pos;
    std::string what;
};

class Parser {
public:
    Parser(std::string_view t, const Limits& l) : s_(t), lim_(l) {}

    Value document() {
        if (s_.size() >= 3 && s_.substr(0, 3) == "\xEF\xBB\xBF") p_ = 3;
        skipBlanks();
        Value v = value(0);
        skipBlanks();
        if (p_ != s_.size()) fail("unexpected text after the value");
        return v;
    }

private:
    std::string_view s_;
    const Limits& lim_;
    std::size_t p_ = 0;
    std::size_t values_ = 0;

    [[noreturn]] void fail(std::string what) const { throw ParseError{p_, std::move(what)}; }
    [[noreturn]] void failAt(std::size_t pos, std::string what) const {
        throw ParseError{pos, std::move(what)};
    }

    bool atEnd() const { return p_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[p_]; }

    void skipBlanks() {
        while (!atEnd() && (s_[p_] == ' ' || s_[p_] == '\t' || s_[p_] == '\n' || s_[p_] == '\r'))
            ++p_;
    }

    void expect(char c, const char* what) {
        if (peek() != c || atEnd()) fail(what);
        ++p_;
    }

    void countValue() {
        if (++values_ > lim_.maxValues) fail("too many values");
    }

    Value value(int depth) {
        if (atEnd()) fail("unexpected end of input, expected a value");
        countValue();
        char c = s_[p_];
        switch (c) {
            case '{':
                return object(depth + 1);
            case '[':
                return array(depth + 1);
            case '"':
                return Value::makeString(string());
            case 't':
                literal("true");
                return Value::makeBool(true);
            case 'f':
                literal("false");
                return Value::makeBool(false);
            case 'n':
                literal("null");
                return Value::makeNull();
            default:
                if (c == '-' || (c >= '0' && c <= '9')) return Value::makeNumber(numberLiteral());
                fail(std::string("unexpected character ") + describe(c) + ", expected a value");
        }
    }

    static std::string describe(char c) {
        unsigned char u = static_cast<unsigned char>(c);
        char buf[16];
        if (u >= 0x21 && u < 0x7F)
            std::snprintf(buf, sizeof buf, "'%c'", c);
        else
            std::snprintf(buf, sizeof buf, "0x%02X", u);
        return buf;
    }

    void literal(std::string_view word) {
        if (s_.substr(p_, word.size()) != word)
            fail("invalid literal, expected '" + std::string(word) + "'");
        p_ += word.size();
    }

    Value object(int depth) {
        if (depth > lim_.maxDepth) fail("nesting deeper than " + std::to_string(lim_.maxDepth));
        ++p_;  // '{'
        std::vector<Value::Member> members;
        skipBlanks();
        if (peek() == '}' && !atEnd()) {
            ++p_;
            return Value::makeObject(std::move(members));
        }
        for (;;) {
            skipBlanks();
            if (peek() != '"' || atEnd()) fail("expected a string key");
            std::size_t keyPos = p_;
            std::string key = string();
            for (const auto& m : members)
                if (m.first == key) failAt(keyPos, "duplicate key \"" + key + "\"");
            skipBlanks();
            expect(':', "expected ':' after the key");
            skipBlanks();
            Value v = value(depth);
            members.emplace_back(std::move(key), std::move(v));
            skipBlanks();
            if (peek() == ',' && !atEnd()) {
                ++p_;
                continue;
            }
            expect('}', "expected ',' or '}' in an object");
            return Value::makeObject(std::move(members));
        }
    }

    Value array(int depth) {
        if (depth > lim_.maxDepth) fail("nesting deeper than " + std::to_string(lim_.maxDepth));
        ++p_;  // '['
        std::vector<Value> items;
        skipBlanks();
        if (peek() == ']' && !atEnd()) {
            ++p_;
            return Value::makeArray(std::move(items));
        }
        for (;;) {
            skipBlanks();
            items.push_back(value(depth));
            skipBlanks();
            if (peek() == ',' && !atEnd()) {
                ++p_;
                continue;
            }
            expect(']', "expected ',' or ']' in an array");
            return Value::makeArray(std::move(items));
        }
    }

    static void appendUtf8(std::string& out, std::uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    std::uint32_t hex4() {
        if (s_.size() - p_ < 4) fail("incomplete \\u escape");
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            char c = s_[p_];
            v <<= 4;
            if (c >= '0' && c <= '9')
                v |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                v |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                v |= static_cast<std::uint32_t>(c - 'A' + 10);
            else
                fail("invalid hex digit in a \\u escape");
            ++p_;
        }
        return v;
    }

    // Length of the valid UTF-8 sequence starting at p_ (lead byte >= 0x80), or 0.
    std::size_t utf8Length() const {
        auto b = [&](std::size_t i) { return static_cast<unsigned char>(s_[p_ + i]); };
        auto cont = [&](std::size_t i) { return p_ + i < s_.size() && (b(i) & 0xC0) == 0x80; };
        unsigned char c = b(0);
        if (c >= 0xC2 && c <= 0xDF) return cont(1) ? 2 : 0;
        if (c >= 0xE0 && c <= 0xEF) {
            if (!cont(1) || !cont(2)) return 0;
            if (c == 0xE0 && b(1) < 0xA0) return 0;   // overlong
            if (c == 0xED && b(1) >= 0xA0) return 0;  // surrogate
            return 3;
        }
        if (c >= 0xF0 && c <= 0xF4) {
            if (!cont(1) || !cont(2) || !cont(3)) return 0;
            if (c == 0xF0 && b(1) < 0x90) return 0;   // overlong
            if (c == 0xF4 && b(1) >= 0x90) return 0;  // beyond U+10FFFF
            return 4;
        }
        return 0;
    }

    std::string string() {
        std::size_t start = p_;
        ++p_;  // '"'
        std::string out;
        for (;;) {
            if (out.size() > lim_.maxStringBytes)
                failAt(start,
                       "string longer than " + std::to_string(lim_.maxStringBytes) + " bytes");
            if (atEnd()) failAt(start, "unterminated string");
            unsigned char c = static_cast<unsigned char>(s_[p_]);
            if (c == '"') {
                ++p_;
                return out;
            }
            if (c < 0x20)
                fail("control character " + describe(static_cast<char>(c)) + " in a string");
            if (c == '\\') {
                ++p_;
                if (atEnd()) failAt(start, "unterminated string");
                char e = s_[p_];
                std::size_t escPos = p_ - 1;
                ++p_;
                switch (e) {
                    case '"':
                        out += '"';
                        break;
                    case '\\':
                        out += '\\';
                        break;
                    case '/':
                        out += '/';
                        break;
                    case 'b':
                        out += '\b';
                        break;
                    case 'f':
                        out += '\f';
                        break;
                    case 'n':
                        out += '\n';
                        break;
                    case 'r':
                        out += '\r';
                        break;
                    case 't':
                        out += '\t';
                        break;
                    case 'u': {
                        std::uint32_t cp = hex4();
                        if (cp >= 0xDC00 && cp <= 0xDFFF)
                            failAt(escPos, "lone low surrogate in a \\u escape");
                        if (cp >= 0xD800 && cp <= 0xDBFF) {
                            if (s_.substr(p_, 2) != "\\u")
                                failAt(escPos, "high surrogate without its low half");
                            p_ += 2;
                            std::uint32_t lo = hex4();
                            if (lo < 0xDC00 || lo > 0xDFFF)
                                failAt(escPos, "high surrogate without its low half");
                            cp = 0x10000 + ((cp - 0xD800) << 10) + (lo - 0xDC00);
                        }
                        appendUtf8(out, cp);
                        break;
                    }
                    default:
                        failAt(escPos,
                               "invalid escape \\" + (e ? describe(e) : std::string("NUL")));
                }
                continue;
            }
            if (c < 0x80) {
                out += static_cast<char>(c);
                ++p_;
                continue;
            }
            std::size_t n = utf8Length();
            if (n == 0) fail("invalid UTF-8 in a string");
            out.append(s_.substr(p_, n));
            p_ += n;
        }
    }

    // Rough decimal exponent of a valid number literal: > 0 for huge, <= 0 for tiny
    // magnitudes (only asked about literals outside the range of a double).
    static long decimalMagnitude(std::string_view lit) {
        std::size_t i = lit[0] == '-' ? 1 : 0;
        long intDigits = 0, fracZeros = 0;
        bool seenNonZero = false;
        for (; i < lit.size() && lit[i] >= '0' && lit[i] <= '9'; ++i)
            if (seenNonZero || lit[i] != '0') {
                seenNonZero = true;
                ++intDigits;
            }
        if (i < lit.size() && lit[i] == '.') {
            for (++i; i < lit.size() && lit[i] >= '0' && lit[i] <= '9'; ++i)
                if (!seenNonZero && intDigits == 0) {
                    if (lit[i] == '0')
                        ++fracZeros;
                    else
                        seenNonZero = true;
                }
        }
        long exp = 0;
        if (i < lit.size() && (lit[i] == 'e' || lit[i] == 'E')) {
            ++i;
            bool neg = i < lit.size() && lit[i] == '-';
            if (i < lit.size() && (lit[i] == '+' || lit[i] == '-')) ++i;
            for (; i < lit.size(); ++i) exp = std::min(exp * 10 + (lit[i] - '0'), 1000000L);
            if (neg) exp = -exp;
        }
        return (intDigits > 0 ? intDigits : -fracZeros) + exp;
    }

    double numberLiteral() {
        std::size_t start = p_;
        auto digit = [&] { return !atEnd() && s_[p_] >= '0' && s_[p_] <= '9'; };
        if (peek() == '-') ++p_;
        if (!digit()) fail("expected a digit");
        if (s_[p_] == '0') {
            ++p_;
            if (digit()) failAt(start, "leading zero in a number");
        } else {
            while (digit()) ++p_;
        }
        if (peek() == '.' && !atEnd()) {
            ++p_;
            if (!digit()) fail("expected a digit after the decimal point");
            while (digit()) ++p_;
        }
        if ((peek() == 'e' || peek() == 'E') && !atEnd()) {
            ++p_;
            if ((peek() == '+' || peek() == '-') && !atEnd()) ++p_;
            if (!digit()) fail("expected a digit in the exponent");
            while (digit()) ++p_;
        }
        double d = 0.0;
        auto r = std::from_chars(s_.data() + start, s_.data() + p_, d);
        if (r.ec == std::errc::result_out_of_range) {
            // Underflow is harmless (the value is as good as 0); overflow is not a number.
            if (decimalMagnitude(s_.substr(start, p_ - start)) > 0)
                failAt(start, "number out of range");
            return 0.0;
        }
        if (r.ec != std::errc() || r.ptr != s_.data() + p_ || !std::isfinite(d))
            failAt(start, "number out of range");
        return d;
    }
};

void lineColumn(std::string_view s, std::size_t pos, std::size_t& line, std::size_t& col) {
    line = 1;
    col = 1;
    for (std::size_t i = 0; i < pos && i < s.size(); ++i) {
        if (s[i] == '\n') {
            ++line;
            col = 1;
        } else {
            ++col;
        }
    }
}

}  // namespace

bool parse(std::string_view text, Value& out, std::string& error, const Limits& limits) {
    out = Value();
    error.clear();
    if (text.size() > limits.maxBytes) {
        error = "input larger than " + std::to_string(limits.maxBytes) + " bytes";
        return false;
    }
    try {
        Parser p(text, limits);
        out = p.document();
        return true;
    } catch (const ParseError& e) {
        std::size_t line = 0, col = 0;
        lineColumn(text, e.pos, line, col);
        error = "line " + std::to_string(line) + ", column " + std::to_string(col) + ": " + e.what;
        out = Value();
        return false;
    }
}

std::string quote(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 2);
    out += '"';
    for (char ch : s) {
        unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04X", c);
                    out += buf;
                } else {
                    out += ch;
                }
        }
    }
    out += '"';
    return out;
}

std::string number(double d) {
    if (!std::isfinite(d)) return "null";
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, r.ptr);
}

}  // namespace sondara::json
