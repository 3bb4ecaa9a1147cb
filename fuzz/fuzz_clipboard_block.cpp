// Any bytes as a clipboard block of points from another program.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/model/ClipboardBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto block = sondara::DecodeClipboardBlock(bytes);
    int count = sondara::ClipboardBlockPointCount(bytes);
    // the quick check and the full decode agree
    if (block.has_value() != (count > 0)) __builtin_trap();
    if (block) {
        // what decodes encodes again to a block that decodes to the same points
        auto again = sondara::DecodeClipboardBlock(sondara::EncodeClipboardBlock(*block));
        if (!again || again->points.size() != block->points.size()) __builtin_trap();
    }
    return 0;
}
