#pragma once
// A small, strict JSON reader (RFC 8259) for the simulator's project descriptions,
// and the quoting helper its writers use.
//
// Strict: no comments, no trailing commas, no leading zeros, no NaN/Infinity, no
// control characters or invalid UTF-8 inside strings, no lone surrogates in \u
// escapes, no duplicate keys, nothing but blanks after the value. A UTF-8 byte order
// mark at the very start is skipped (editors on Windows write one).
// Bounded: the input size, the nesting depth, the number of values and the length of
// one string are limited, so hostile input costs little time and memory.
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sondara::json {

enum class Kind { Null, Bool, Number, String, Array, Object };

struct Limits {
    std::size_t maxBytes = 8u << 20;        // whole input
    int maxDepth = 64;                      // nested arrays/objects
    std::size_t maxValues = 1u << 20;       // values of every kind, in total
    std::size_t maxStringBytes = 1u << 20;  // one decoded string or key
};

class Value {
public:
    using Member = std::pair<std::string, Value>;

    Kind kind() const { return kind_; }
    bool isNull() const { return kind_ == Kind::Null; }
    bool isBool() const { return kind_ == Kind::Bool; }
    bool isNumber() const { return kind_ == Kind::Number; }
    bool isString() const { return kind_ == Kind::String; }
    bool isArray() const { return kind_ == Kind::Array; }
    bool isObject() const { return kind_ == Kind::Object; }

    // Accessors return the neutral value (false, 0, "", empty) for another kind.
    bool boolean() const { return kind_ == Kind::Bool && bool_; }
    double number() const { return kind_ == Kind::Number ? number_ : 0.0; }
    const std::string& string() const { return string_; }            // UTF-8
    const std::vector<Value>& items() const { return items_; }       // array elements
    const std::vector<Member>& members() const { return members_; }  // in file order
    // The member with this key, or nullptr (also for a value that is no object).
    const Value* find(std::string_view key) const;

    static Value makeNull() { return Value(); }
    static Value makeBool(bool b);
    static Value makeNumber(double d);
    static Value makeString(std::string s);
    static Value makeArray(std::vector<Value> items);
    static Value makeObject(std::vector<Member> members);

private:
    Kind kind_ = Kind::Null;
    bool bool_ = false;
    double number_ = 0.0;
    std::string string_;
    std::vector<Value> items_;
    std::vector<Member> members_;
};

// Parses `text` into `out`. Returns true on success; otherwise `error` receives
// "line L, column C: what went wrong" (1-based, columns count bytes) and `out` is
// left null.
bool parse(std::string_view text, Value& out, std::string& error, const Limits& limits = {});

// `s` (UTF-8) as a JSON string literal with its quotes; control characters are
// escaped, everything else is copied.
std::string quote(std::string_view s);

// A finite number in the shortest form that reads back to the same double
// (integers without a fraction); non-finite values become null.
std::string number(double d);

}  // namespace sondara::json
