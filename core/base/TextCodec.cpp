#include "core/base/TextCodec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/base/FixedText.h"

namespace sondara {

namespace {

// One converter per direction and thread; iconv descriptors are not thread-safe.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; on an invalid or incomplete sequence appends `replacement`
    // and skips `skip` input bytes.
    std::string run(std::string_view in, std::string_view replacement, std::size_t skip) {
        std::string out;
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::string(in);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.reserve(in.size() * 2 + 4);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buf[1024];
        while (srcLeft > 0) {
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, dst - buf);
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                // EILSEQ or EINVAL: replace and go on after the bad unit
                out.append(replacement);
                std::size_t n = skip < srcLeft ? skip : srcLeft;
                src += n;
                srcLeft -= n;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

private:
    iconv_t cd_;
};

}  // namespace

std::string gbkToUtf8(std::string_view gbk) {
    // Plain ASCII (most pile numbers) reads the same in both: no converter round trip.
    if (std::all_of(gbk.begin(), gbk.end(),
                    [](char ch) { return static_cast<unsigned char>(ch) < 0x80; }))
        return std::string(gbk);
    thread_local Converter c("UTF-8", "GBK");
    return c.run(gbk, "\xEF\xBF\xBD", 1);
}

std::string utf8ToGbk(std::string_view utf8) {
    thread_local Converter c("GBK", "UTF-8");
    return c.run(utf8, "?", 1);
}

std::string utf16leToGbk(std::string_view utf16le) {
    thread_local Converter c("GBK", "UTF-16LE");
    std::string_view even = utf16le.substr(0, utf16le.size() & ~std::size_t{1});
    return c.run(even, "?", 2);
}

std::size_t gbkSafeCut(std::string_view s, std::size_t maxBytes) {
    if (s.size() <= maxBytes) return s.size();
    // Walk whole characters: a lead byte >= 0x81 takes the next byte with it.
    std::size_t i = 0;
    while (i < maxBytes) {
        std::size_t w = static_cast<unsigned char>(s[i]) >= 0x81 ? 2 : 1;
        if (i + w > maxBytes) break;
        i += w;
    }
    return i;
}

}  // namespace sondara
