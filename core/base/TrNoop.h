#pragma once
// Marks a text of the core that the program shows to its user. SONDARA_TR_NOOP is the
// Chinese text itself, unchanged: the core compares, logs and stores it as it is, and
// the window translates it where it turns it into a widget's text (trCore).
// SONDARA_TR is the text as the user reads it now: its translation in the language
// the program speaks (the window's, or the command line's SONDARA_LANGUAGE), the
// Chinese text while no translator is set. lupdate collects both (run with
// -tr-function-alias QT_TRANSLATE_NOOP+=SONDARA_TR_NOOP,QT_TRANSLATE_NOOP+=SONDARA_TR).
#include <string>

#define SONDARA_TR_NOOP(context, text) text
#define SONDARA_TR(context, text) ::sondara::TrText(text)

namespace sondara {

// Gives the translation of a Chinese text; an empty result means none.
using TextTranslator = std::string (*)(const char* text);

// The translator of every shown text of the core; nullptr (the start) keeps Chinese.
void SetTextTranslator(TextTranslator translator);
bool TextsTranslated();  // a translator is set and this thread is in no SourceTextsScope

// The shown text of a marked text: its translation, else the text itself.
std::string TrText(const char* text);
std::string TrText(const std::string& text);
// The same for a printf format: the translation only when it has the same conversions
// in the same order, so that a wrong translation can never misread the arguments.
std::string TrFormat(const char* format);

// While one lives, TrText gives the Chinese texts on this thread: what is compared,
// stored or written as the Chinese standard wants it (the values a grid cell edits,
// the Word report) is built by the same functions as what is shown.
class SourceTextsScope {
public:
    SourceTextsScope();
    ~SourceTextsScope();
    SourceTextsScope(const SourceTextsScope&) = delete;
    SourceTextsScope& operator=(const SourceTextsScope&) = delete;
};

}  // namespace sondara
