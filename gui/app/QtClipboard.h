#pragma once
// The system clipboard under the program's private format, so that points travel
// between two running copies of the program.
#include "core/model/ListCommands.h"

namespace sondara::gui {

inline constexpr const char* kClipboardMime = "application/x-MIRQAR_COPY_PAST";

class QtClipboardPort : public ClipboardPort {
public:
    std::optional<std::string> readBlock() override;
    bool writeBlock(const std::string& bytes) override;
};

}  // namespace sondara::gui
