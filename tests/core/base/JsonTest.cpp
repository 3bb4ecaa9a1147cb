// The strict JSON reader: what it accepts, what it refuses and where it says so.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/base/Json.h"

namespace sondara::json {
namespace {

TEST(Json, AcceptsEveryKindOfValue) {
    Value v;
    std::string err;
    ASSERT_TRUE(parse(R"( {"a": [1, -2.5e3, 0, 0.125, true, false, null],
                          "s": "x\"\\\/\b\f\n\r\t\u00e9\u4E2D\ud83d\ude00",
                          "e": {}, "n": [] } )",
                      v, err))
        << err;
    ASSERT_TRUE(v.isObject());
    const Value* a = v.find("a");
    ASSERT_TRUE(a && a->isArray());
    ASSERT_EQ(a->items().size(), 7u);
    EXPECT_EQ(a->items()[0].number(), 1.0);
    EXPECT_EQ(a->items()[1].number(), -2500.0);
    EXPECT_EQ(a->items()[3].number(), 0.125);
    EXPECT_TRUE(a->items()[4].boolean());
    EXPECT_TRUE(a->items()[5].isBool() && !a->items()[5].boolean());
    EXPECT_TRUE(a->items()[6].isNull());
    EXPECT_EQ(v.find("s")->string(), "x\"\\/\b\f\n\r\t\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
    EXPECT_TRUE(v.find("e")->isObject() && v.find("e")->members().empty());
    EXPECT_TRUE(v.find("n")->isArray() && v.find("n")->items().empty());
    EXPECT_EQ(v.find("missing"), nullptr);
    // Members keep their file order.
    EXPECT_EQ(v.members()[1].first, "s");

    // Top-level scalars, raw UTF-8 text and a byte order mark.
    const std::pair<const char*, Kind> scalars[] = {
        {"0", Kind::Number},      {"-0.0", Kind::Number},           {"1E+2", Kind::Number},
        {"\"桩\"", Kind::String}, {"\xEF\xBB\xBF[1]", Kind::Array}, {"1e-400", Kind::Number},
    };
    for (const auto& [text, kind] : scalars) {
        EXPECT_TRUE(parse(text, v, err)) << text << ": " << err;
        EXPECT_EQ(v.kind(), kind) << text;
    }
}

TEST(Json, RefusesWhatIsNotStrictJsonAndSaysWhere) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "line 1, column 1: unexpected end of input"},
        {"[1,]", "line 1, column 4: unexpected character ']'"},
        {"{\"a\":1,}", "line 1, column 8: expected a string key"},
        {"{\"a\" 1}", "line 1, column 6: expected ':'"},
        {"{\"a\":1 \"b\":2}", "line 1, column 8: expected ',' or '}'"},
        {"[1 2]", "line 1, column 4: expected ',' or ']'"},
        {"[01]", "line 1, column 2: leading zero"},
        {"[1.]", "line 1, column 4: expected a digit after the decimal point"},
        {"[-]", "line 1, column 3: expected a digit"},
        {"[1e]", "line 1, column 4: expected a digit in the exponent"},
        {"[NaN]", "unexpected character 'N'"},
        {"[1e400]", "line 1, column 2: number out of range"},
        {"[tru]", "invalid literal"},
        {"{\"a\":1,\"a\":2}", "line 1, column 8: duplicate key \"a\""},
        {"\"abc", "line 1, column 1: unterminated string"},
        {"\"a\tb\"", "line 1, column 3: control character 0x09"},
        {"\"\\x\"", "line 1, column 2: invalid escape \\'x'"},
        {"\"\\u12G4\"", "invalid hex digit"},
        {"\"\\udc00\"", "lone low surrogate"},
        {"\"\\ud800x\"", "high surrogate without its low half"},
        {"\"\\ud800\\u0041\"", "high surrogate without its low half"},
        {"\"\xC0\xAF\"", "invalid UTF-8"},
        {"\"\xED\xA0\x80\"", "invalid UTF-8"},
        {"\"\xE4\xB8\"", "invalid UTF-8"},
        {"[1] x", "line 1, column 5: unexpected text after the value"},
        {"// c\n1", "unexpected character '/'"},
        {"[\n  1,\n  ?]", "line 3, column 3: unexpected character '?'"},
        {"\x01", "unexpected character 0x01"},
    };
    for (const auto& [text, message] : cases) {
        Value v = Value::makeNumber(3);
        std::string err;
        EXPECT_FALSE(parse(text, v, err)) << text;
        EXPECT_NE(err.find(message), std::string::npos) << "input " << text << " gave: " << err;
        EXPECT_TRUE(v.isNull());
    }
}

TEST(Json, LimitsBoundDepthSizeCountAndStrings) {
    Limits lim;
    lim.maxDepth = 8;
    lim.maxBytes = 64;
    lim.maxValues = 10;
    lim.maxStringBytes = 5;
    Value v;
    std::string err;
    EXPECT_TRUE(parse(std::string(8, '[') + std::string(8, ']'), v, err, lim)) << err;
    EXPECT_FALSE(parse(std::string(9, '[') + std::string(9, ']'), v, err, lim));
    EXPECT_NE(err.find("column 9: nesting deeper than 8"), std::string::npos) << err;
    EXPECT_FALSE(parse(std::string(65, ' ') + "1", v, err, lim));
    EXPECT_NE(err.find("larger than 64"), std::string::npos) << err;
    EXPECT_TRUE(parse("[1,2,3,4,5,6,7,8,9]", v, err, lim)) << err;
    EXPECT_FALSE(parse("[1,2,3,4,5,6,7,8,9,10]", v, err, lim));
    EXPECT_NE(err.find("too many values"), std::string::npos) << err;
    EXPECT_TRUE(parse("\"abcde\"", v, err, lim)) << err;
    EXPECT_FALSE(parse("\"abcdef\"", v, err, lim));
    EXPECT_NE(err.find("string longer than 5"), std::string::npos) << err;

    // Deep nesting under the default limits fails cleanly instead of exhausting the stack.
    std::string deep(100000, '[');
    EXPECT_FALSE(parse(deep, v, err));
    EXPECT_NE(err.find("nesting deeper than 64"), std::string::npos) << err;
}

TEST(Json, QuoteAndNumberReadBack) {
    const std::string texts[] = {"", "plain", "q\"b\\s/", "ctl\x01\x1f\n\t", "桩号 1-12"};
    for (const std::string& t : texts) {
        Value v;
        std::string err;
        ASSERT_TRUE(parse(quote(t), v, err)) << quote(t) << ": " << err;
        EXPECT_EQ(v.string(), t);
    }
    const double numbers[] = {0.0, -1.5, 1024.0, 0.1, 3.0e-7, 1.0e300, 20.0 / 3.0};
    for (double d : numbers) {
        Value v;
        std::string err;
        ASSERT_TRUE(parse(number(d), v, err)) << number(d);
        EXPECT_EQ(v.number(), d);
    }
    EXPECT_EQ(number(1024.0), "1024");
    EXPECT_EQ(number(std::nan("")), "null");
}

}  // namespace
}  // namespace sondara::json
