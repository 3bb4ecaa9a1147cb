#include "core/base/TrNoop.h"

#include <atomic>
#include <cstring>

namespace sondara {

namespace {
std::atomic<TextTranslator> g_translator{nullptr};
thread_local int t_sourceScopes = 0;
}  // namespace

void SetTextTranslator(TextTranslator translator) {
    g_translator.store(translator);
}

bool TextsTranslated() {
    return g_translator.load() != nullptr && t_sourceScopes == 0;
}

std::string TrText(const char* text) {
    if (!text) return {};
    const TextTranslator t = g_translator.load();
    if (!t || t_sourceScopes > 0 || !*text) return text;
    std::string s = t(text);
    return s.empty() ? std::string(text) : s;
}

std::string TrText(const std::string& text) {
    return TrText(text.c_str());
}

namespace {
// The conversions of a printf format with their flags ("%d", "%0.2f" -> "d,0.2f,").
std::string conversions(const std::string& f) {
    std::string out;
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] != '%') continue;
        size_t j = i + 1;
        while (j < f.size() && std::strchr("-+ #0123456789.lhzjt*", f[j])) ++j;
        if (j >= f.size()) return out + '?';
        out += f.substr(i + 1, j - i);  // the flags count: "%0.2f" and "%.2f" differ
        out += ',';
        i = j;
    }
    return out;
}
}  // namespace

std::string TrFormat(const char* format) {
    std::string t = TrText(format);
    if (t != format && conversions(t) != conversions(format)) return format;
    return t;
}

SourceTextsScope::SourceTextsScope() {
    ++t_sourceScopes;
}

SourceTextsScope::~SourceTextsScope() {
    --t_sourceScopes;
}

}  // namespace sondara
