#pragma once
// Options shared by the output commands (`image`, `report`, `excel`).
#include <memory>
#include <string>

#include "core/model/SondaraDoc.h"

class QGuiApplication;

namespace sondara::cli {

// `--check all|none` or `--check 1,3,5-8` (1-based): checks those points (and only those)
// in the loaded document before the output is made. An empty string, or what is wrong.
std::string applyCheckOption(CSondaraDoc& doc, const std::string& value);

// "WxH" or "W×H": two whole numbers of 1..99999. False when the text is not that.
bool parseImageSize(const std::string& text, int& width, int& height);

}  // namespace sondara::cli

#ifdef SONDARA_HAVE_RENDER
namespace sondara::cli {
// Painting needs a Qt GUI application; without a screen the offscreen platform
// serves. Null when one exists already.
std::unique_ptr<QGuiApplication> makeOutputGuiApplication();
}  // namespace sondara::cli
#endif
