#include "cli/OutputArgs.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace sondara::cli {

std::string applyCheckOption(CSondaraDoc& doc, const std::string& value) {
    std::vector<int> chosen;
    if (value == "all") {
        for (int i = 0; i < doc.pointCount(); ++i) chosen.push_back(i);
    } else {
        std::stringstream in(value);
        std::string item;
        while (std::getline(in, item, ',')) {
            char* end = nullptr;
            errno = 0;
            const long n = std::strtol(item.c_str(), &end, 10);
            if (item.empty() || *end != '\0' || errno != 0 || n < 1 || n > doc.pointCount())
                return "--check takes 'all' or point numbers 1.." + std::to_string(doc.pointCount()) +
                       " separated by commas";
            chosen.push_back(static_cast<int>(n - 1));
        }
    }
    for (TestPoint& p : doc.points) p.checked = 0;
    for (int i : chosen) doc.points[static_cast<size_t>(i)].checked = 1;
    doc.rebuildCheckedList();
    return {};
}

bool parseImageSize(const std::string& text, int& width, int& height) {
    std::string t = text;
    const std::string times = "×";
    if (const auto at = t.find(times); at != std::string::npos) t.replace(at, times.size(), "x");
    const auto x = t.find_first_of("xX");
    if (x == std::string::npos) return false;
    const auto number = [](const std::string& s, int& out) {
        char* end = nullptr;
        errno = 0;
        const long v = std::strtol(s.c_str(), &end, 10);
        if (s.empty() || *end != '\0' || errno != 0 || v < 1 || v > 99999) return false;
        out = static_cast<int>(v);
        return true;
    };
    return number(t.substr(0, x), width) && number(t.substr(x + 1), height);
}

}  // namespace sondara::cli

#ifdef SONDARA_HAVE_RENDER
#include <QGuiApplication>

namespace sondara::cli {
std::unique_ptr<QGuiApplication> makeOutputGuiApplication() {
    if (QGuiApplication::instance()) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "sondara-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}
}  // namespace sondara::cli
#endif
