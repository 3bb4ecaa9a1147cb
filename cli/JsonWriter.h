#pragma once
// A small streaming JSON writer for the CLI's --json outputs.
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace sondara::cli {

class JsonWriter {
public:
    std::string str() const { return out_; }

    JsonWriter& beginObject() {
        sep();
        out_ += '{';
        first_.push_back(true);
        return *this;
    }
    JsonWriter& endObject() {
        out_ += '}';
        first_.pop_back();
        return *this;
    }
    JsonWriter& beginArray() {
        sep();
        out_ += '[';
        first_.push_back(true);
        return *this;
    }
    JsonWriter& endArray() {
        out_ += ']';
        first_.pop_back();
        return *this;
    }
    JsonWriter& key(std::string_view k) {
        sep();
        quote(k);
        out_ += ':';
        afterKey_ = true;
        return *this;
    }
    JsonWriter& value(std::string_view s) {
        sep();
        quote(s);
        return *this;
    }
    JsonWriter& value(const char* s) { return value(std::string_view(s)); }
    JsonWriter& value(const std::string& s) { return value(std::string_view(s)); }
    JsonWriter& value(bool b) {
        sep();
        out_ += b ? "true" : "false";
        return *this;
    }
    JsonWriter& value(long long v) {
        sep();
        out_ += std::to_string(v);
        return *this;
    }
    JsonWriter& value(int v) { return value(static_cast<long long>(v)); }
    JsonWriter& value(double v) {
        sep();
        if (!std::isfinite(v)) {
            out_ += "null";
        } else {
            char b[40];
            std::snprintf(b, sizeof b, "%.9g", v);
            out_ += b;
        }
        return *this;
    }
    JsonWriter& value(float v) { return value(static_cast<double>(v)); }
    template <typename T>
    JsonWriter& field(std::string_view k, const T& v) {
        key(k);
        return value(v);
    }

private:
    void sep() {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (!first_.empty()) {
            if (!first_.back()) out_ += ',';
            first_.back() = false;
        }
    }
    void quote(std::string_view s) {
        out_ += '"';
        for (unsigned char c : s) {
            switch (c) {
                case '"':
                    out_ += "\\\"";
                    break;
                case '\\':
                    out_ += "\\\\";
                    break;
                case '\n':
                    out_ += "\\n";
                    break;
                case '\r':
                    out_ += "\\r";
                    break;
                case '\t':
                    out_ += "\\t";
                    break;
                default:
                    if (c < 0x20) {
                        char b[8];
                        std::snprintf(b, sizeof b, "\\u%04x", c);
                        out_ += b;
                    } else {
                        out_ += static_cast<char>(c);
                    }
            }
        }
        out_ += '"';
    }
    std::string out_;
    std::vector<bool> first_;
    bool afterKey_ = false;
};

}  // namespace sondara::cli
