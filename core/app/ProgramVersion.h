#pragma once
// The program's name and version as the About box, the command line's --version and
// the settings show them.
#include <string>

#include "core/base/TrNoop.h"

namespace sondara {

inline constexpr const char* kVersionNumber = "4.0.1.0";
inline constexpr const char* kProgramNameEnglish = "Sondara low-strain pile integrity analysis";
inline constexpr const char* kProgramLicence =
    SONDARA_TR_NOOP("sondara", "版权所有 © Dorvanel，保留所有权利。");

// "Dorvanel低应变法基桩完整性检测分析软件V1.0 版本 4.0.1.0"
std::string versionText();

}  // namespace sondara
