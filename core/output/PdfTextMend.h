#pragma once
// The text of the PDFs the program writes, as the page shows it.
//
// A CJK font maps a Kangxi radical (U+2F00..) or a supplement radical (U+2E80..) and
// the unified ideograph it stands for to one glyph; a PDF writer that builds a glyph's
// text from the font's character map may name the radical (⼯ U+2F2F for 工, ⻚ U+2EDA
// for 页), so that searching the PDF for "工程" finds nothing and copied text is
// wrong. The program draws no radicals, so every radical in a text map (ToUnicode) of
// a PDF it wrote stands for its unified ideograph, and is rewritten to it.
#include <string>
#include <string_view>

namespace sondara {

// The unified ideograph a radical stands for; the code point itself when it is not a
// radical with an equivalent.
char32_t UnifiedIdeographOf(char32_t c);

// A ToUnicode CMap with every radical in its targets replaced (a range whose targets
// hold a radical becomes a range with an array of targets). Returns the text
// unchanged when there is nothing to mend or the text cannot be read as a CMap.
std::string MendToUnicodeCMap(std::string_view cmap);

// Rewrites the text maps of the PDF file at `path` in place: the new file replaces the
// old one only whole (a failure leaves the old file). A file without anything to mend
// is left as it is. False with a message in `error` when the file cannot be read as a
// PDF or the new one cannot be written.
bool MendPdfText(const std::string& path, std::string& error);
// The same on the bytes of a PDF held in memory (`what` names it in the message).
bool MendPdfBytes(std::string& bytes, const std::string& what, std::string& error);

}  // namespace sondara
