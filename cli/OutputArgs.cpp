#include "cli/OutputArgs.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "cli/CommandLine.h"

namespace sondara::cli {

std::string applyCheckOption(CSondaraDoc& doc, const std::string& value) {
    std::vector<long> chosen;
    if (value == "all") {
        for (int i = 1; i <= doc.pointCount(); ++i) chosen.push_back(i);
    } else if (value != "none") {
        const bool ok = parsePointList(value, chosen) &&
                        std::all_of(chosen.begin(), chosen.end(),
                                    [&](long n) { return n <= doc.pointCount(); });
        if (!ok)
            return "--check takes 'all', 'none' or point numbers 1.." +
                   std::to_string(doc.pointCount()) + " such as 1,3,5-8";
    }
    for (TestPoint& p : doc.points) p.checked = 0;
    for (long n : chosen) doc.points[static_cast<size_t>(n - 1)].checked = 1;
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
#include <cstdio>
#include <cstdlib>

namespace sondara::cli {
std::unique_ptr<QGuiApplication> makeOutputGuiApplication() {
    if (QGuiApplication::instance()) return nullptr;
    // Qt's own notes ("QStandardPaths: XDG_RUNTIME_DIR not set", font and platform
    // remarks) are no message of this program: they are kept off stderr unless
    // SONDARA_QT_MESSAGES is set. Fatal messages still end the program.
    if (qEnvironmentVariableIsEmpty("SONDARA_QT_MESSAGES"))
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtFatalMsg) {
                std::fprintf(stderr, "sondara-cli: %s\n", text.toLocal8Bit().constData());
                std::abort();
            }
        });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "sondara-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}
}  // namespace sondara::cli
#endif
