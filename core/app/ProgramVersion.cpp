#include "core/app/ProgramVersion.h"

#include "core/app/CommandTable.h"

namespace sondara {

std::string versionText() {
    return std::string(kProgramName) + " 版本 " + kVersionNumber;
}

}  // namespace sondara
