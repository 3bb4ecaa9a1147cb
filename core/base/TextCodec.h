#pragma once
// GBK <-> UTF-8 conversion (iconv). The program's stored texts are GBK bytes; the
// CLI, the GUI and the reports speak UTF-8. Undecodable input never fails: each bad
// byte becomes U+FFFD when decoding, '?' when encoding.
#include <string>
#include <string_view>

namespace sondara {

std::string gbkToUtf8(std::string_view gbk);
std::string utf8ToGbk(std::string_view utf8);
// UTF-16LE bytes (as an old file version stores texts) to GBK.
std::string utf16leToGbk(std::string_view utf16le);

}  // namespace sondara
