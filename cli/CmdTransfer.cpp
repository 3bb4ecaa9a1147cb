// transfer: the instrument link from the command line: list the instrument's
// projects, download and convert them as the transfer dialog does, or run single
// protocol operations.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliDoc.h"
#include "cli/CommandLine.h"
#include "cli/JsonWriter.h"
#include "core/app/AppPaths.h"
#include "core/base/TextCodec.h"
#include "core/instrument/TransferSession.h"

namespace sondara::cli {
namespace {

constexpr int kExitLink = 3;  // not connected, or a project/operation failed

const char* kHelp =
    "usage: sondara-cli transfer [--port PORT] --list [--json]\n"
    "       sondara-cli transfer [--port PORT] --download K[,K...] -o DIR\n"
    "       sondara-cli transfer [--port PORT] --raw OP [ARGS...]\n"
    "PORT is /dev/parportN (Linux ppdev) or virtual:PATH (the virtual cable an instrument\n"
    "emulator serves); default $SONDARA_PARPORT, else /dev/parport0.\n"
    "  --list            probe the instrument and print its projects: position, display\n"
    "                    name, point count, test date, instrument folder (--json: as JSON)\n"
    "  --download K,...  download the projects at these positions (1-based, as listed)\n"
    "                    and convert each into DIR/<display name>; progress on stderr\n"
    "  -o DIR            the target folder (created when missing)\n"
    "  --raw OP ARGS     one protocol operation:\n"
    "                      hello | quit | dir FOLDER | cd FOLDER\n"
    "                      downf PATH [LOCALDIR] | downd FOLDER [LOCALDIR]\n"
    "                      getd FOLDER LOCALDIR\n"
    "  --attempts N      frame attempts per reply and per file chunk (default 100,\n"
    "                    each about 64 ms of waiting)\n"
    "Ctrl+C stops an exchange at once.\n"
    "Exit codes: 0 done, 1 usage, 2 port cannot be opened, 3 not connected or a\n"
    "project or operation failed.\n";

int usage(const std::string& why) {
    return usageError("transfer", why, kHelp);
}

TransferSession* gSession = nullptr;
void onInterrupt(int) {
    if (gSession) gSession->abort();  // a lock-free atomic store
}

void printSites(const std::vector<SiteEntry>& sites, bool json) {
    if (json) {
        JsonWriter j;
        j.beginArray();
        for (std::size_t i = 0; i < sites.size(); ++i) {
            const SiteEntry& e = sites[i];
            j.beginObject()
                .field("position", static_cast<int>(i + 1))
                .field("displayName", e.displayName)
                .field("projectName", gbkToUtf8(e.siteProjectName))
                .field("points", e.pointCount())
                .field("testDate", gbkToUtf8(e.testDate))
                .field("folder", gbkToUtf8(e.folderName))
                .endObject();
        }
        j.endArray();
        std::printf("%s\n", j.str().c_str());
        return;
    }
    std::printf("序号\t文件名\t测点数\t检测日期\t文件夹\n");
    for (std::size_t i = 0; i < sites.size(); ++i) {
        const SiteEntry& e = sites[i];
        std::printf("%zu\t%s\t%d\t%s\t%s\n", i + 1, e.displayName.c_str(), e.pointCount(),
                    gbkToUtf8(e.testDate).c_str(), gbkToUtf8(e.folderName).c_str());
    }
}

// With a null session only checks the operation and its arguments (kExitOk when fine).
int runRaw(TransferSession* session, const Args& raw) {
    if (raw.empty()) return usage("--raw needs an operation");
    const std::string& op = raw[0];
    auto arg = [&](std::size_t i, const char* def) -> std::string {
        return i < raw.size() ? raw[i] : (def ? std::string(def) : std::string());
    };
    struct Op {
        const char* name;
        TransferOp op;
        std::size_t minArgs;
    };
    const Op ops[] = {
        {"hello", TransferOp::Hello, 0},        {"quit", TransferOp::Quit, 0},
        {"dir", TransferOp::ListFolder, 1},     {"cd", TransferOp::ChangeFolder, 1},
        {"downf", TransferOp::DownloadFile, 1}, {"downd", TransferOp::DownloadFolder, 1},
        {"getd", TransferOp::UploadFolder, 2}};
    const Op* found = nullptr;
    for (const Op& o : ops)
        if (op == o.name) found = &o;
    if (!found) return usage("unknown operation '" + op + "'");
    if (raw.size() - 1 < found->minArgs)
        return usage("'" + op + "' needs " + std::to_string(found->minArgs) + " argument(s)");
    if (!session) return kExitOk;
    TransferSession& s = *session;

    std::string first, second;
    switch (found->op) {
        case TransferOp::ListFolder:
        case TransferOp::ChangeFolder:
            second = arg(1, nullptr);
            break;
        case TransferOp::DownloadFile:
        case TransferOp::DownloadFolder:
        case TransferOp::UploadFolder:
            first = arg(1, nullptr);
            second = arg(2, ".");
            break;
        default:
            break;
    }
    const int r = s.protocol().Execute(found->op, first, second);
    if (found->op == TransferOp::Hello || found->op == TransferOp::ListFolder) {
        if (r == 1) std::printf("%s\n", first.c_str());
    }
    if (!s.protocol().StatusText().empty())
        std::fprintf(stderr, "%s\n", s.protocol().StatusText().c_str());
    for (const std::string& f : s.protocol().FailedFiles()) printError(f + " did not arrive whole");
    bool ok = r == 1;
    if (found->op == TransferOp::ChangeFolder)  // answers 0 whatever happened
        ok = s.protocol().StatusText().rfind("Directory on server is now", 0) == 0;
    if (found->op == TransferOp::DownloadFile || found->op == TransferOp::DownloadFolder)
        ok = ok && s.protocol().FailedFiles().empty() &&
             s.protocol().StatusText() != kStatusCannotWrite;
    return ok ? kExitOk : kExitLink;
}

int runTransfer(const Args& args) {
    std::string port, out, positions;
    bool list = false, json = false;
    long attempts = -1;
    Args raw;  // the operation and its arguments
    CLI::App app{"transfer"};
    app.add_option("--port", port);
    app.add_flag("--list", list);
    app.add_flag("--json", json);
    app.add_option("--download", positions);
    app.add_option("-o", out);
    app.add_option("--attempts", attempts)->check(CLI::Range(1L, 64000L));
    app.add_option("--raw", raw)->expected(1, 64);
    if (std::string why = parseCommandLine(app, args); !why.empty()) return usage(why);
    const int modes = int(list) + int(!positions.empty()) + int(!raw.empty());
    if (modes != 1) return usage("give one of --list, --download or --raw");
    std::vector<long> wanted;
    if (!positions.empty()) {
        if (!parsePointList(positions, wanted)) return usage("bad positions '" + positions + "'");
        if (out.empty()) return usage("--download needs -o DIR");
    }

    if (!raw.empty())
        if (const int r = runRaw(nullptr, raw); r != kExitOk) return r;

    TransferSession session(port);
    if (!session.portError().empty()) {
        std::fprintf(stderr, "%s\n", session.portError().c_str());
        return kExitFile;
    }
    if (attempts > 0) {
        TransferProtocol::Patience p;
        p.textAttempts = p.fileFrameAttempts = static_cast<int>(attempts);
        session.protocol().setPatience(p);
    }
    gSession = &session;
    auto previous = std::signal(SIGINT, onInterrupt);
    struct Restore {
        decltype(previous) prev;
        ~Restore() {
            std::signal(SIGINT, prev);
            gSession = nullptr;
        }
    } restore{previous};

    if (!raw.empty()) return runRaw(&session, raw);

    if (!session.ConnectionProbe()) {
        std::fprintf(stderr, "%s\n", kTextNotConnected);
        if (!session.protocol().StatusText().empty())
            std::fprintf(stderr, "%s\n", session.protocol().StatusText().c_str());
        if (!session.portError().empty())  // e.g. a cable file cut short meanwhile
            std::fprintf(stderr, "%s\n", session.portError().c_str());
        return kExitLink;
    }
    if (list) {
        printSites(session.sites(), json);
        return kExitOk;
    }

    const int count = static_cast<int>(session.sites().size());
    TransferQueue queue;
    for (long k : wanted) {
        if (k > count)
            return printError("position " + std::to_string(k) +
                              " is not listed (the instrument has " + std::to_string(count) + ")"),
                   kExitUsage;
        queue.add(static_cast<int>(k - 1));
    }
    if (!makeDirs(out)) return printError("cannot create the folder " + out), kExitFile;
    CliPrompter prompter(false);
    std::atomic<bool> cancel{false};
    TransferSession::Progress report;
    report.progress = [](int p) { std::fprintf(stderr, "进度 %d%%\n", p); };
    report.projectDone = [&](int k, const TransferSession::ProjectResult& r) {
        if (r.converted)
            std::printf("%s\n", r.targetPath.c_str());
        else if (!r.failedFiles.empty())
            printError(session.sites()[k].displayName + ": files kept in " + r.stagingFolder);
    };
    const int failed = session.RunQueue(queue, out, prompter, cancel, report);
    session.protocol().Execute(TransferOp::Quit);
    return failed ? kExitLink : kExitOk;
}

CliRegistrar reg{
    {"transfer", "list, download and convert projects from the instrument", kHelp, runTransfer}};

}  // namespace
}  // namespace sondara::cli
