// sondara-instrument-emulator: the instrument's end of the parallel-port link over a
// virtual cable, serving a folder as the instrument's drive.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "core/instrument/InstrumentDrive.h"
#include "core/instrument/InstrumentServer.h"
#include "core/instrument/VirtualCable.h"

namespace {

volatile std::sig_atomic_t gStop = 0;
void onSignal(int) {
    gStop = 1;
}

const char* kUsage =
    "usage: sondara-instrument-emulator --cable PATH --root DIR [options]\n"
    "       sondara-instrument-emulator --make-demo DIR\n"
    "Serves DIR as the instrument's drive over the virtual cable file PATH (the PC\n"
    "side uses SONDARA_PARPORT=virtual:PATH or --port virtual:PATH). \"c:\\dat\\rsite.par\"\n"
    "is DIR/dat/rsite.par; names are matched without regard to case.\n"
    "  --make-demo DIR     write a demonstration drive with three projects and exit\n"
    "  --access-ns N       nanoseconds per register access of the instrument (default 0)\n"
    "  --max-seconds S     stop after S seconds (default: run until interrupted)\n"
    "  --verbose           print every command received\n"
    "Faults, for tests:\n"
    "  --never-answer      take every command, answer none\n"
    "  --pull-after N      pull the cable once N bytes were sent\n"
    "  --replug-after MS   plug it back MS milliseconds after pulling\n"
    "  --bad-header K      the K-th frame sent has differing length copies\n"
    "  --wrong-keyword CMD answer the command CMD (HI, DOWNF, DOWND, ...) with \"WHAT?\"\n"
    "  --babble CMD        answer CMD with \"WHAT?\" again and again\n"
    "  --empty-frames CMD  send the files of CMD (DOWNF, DOWND) as empty data frames only\n"
    "  --slow MS           wait MS milliseconds before every answer\n";

long number(const char* s, const char* what) {
    char* end = nullptr;
    const long v = std::strtol(s, &end, 10);
    if (!s[0] || *end) {
        std::fprintf(stderr, "sondara-instrument-emulator: %s needs a number, not '%s'\n", what, s);
        std::exit(1);
    }
    return v;
}

}  // namespace

int main(int argc, char** argv) {
    std::string cablePath, root;
    sondara::InstrumentFaults faults;
    long accessNs = 0, maxSeconds = -1;
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "sondara-instrument-emulator: %s needs a value\n%s", a.c_str(),
                             kUsage);
                std::exit(1);
            }
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--cable") {
            cablePath = value();
        } else if (a == "--root") {
            root = value();
        } else if (a == "--make-demo") {
            const std::string dir = value();
            if (!sondara::WriteDemoDrive(dir, sondara::DemoProjects())) {
                std::fprintf(stderr, "sondara-instrument-emulator: cannot write %s\n", dir.c_str());
                return 2;
            }
            std::printf("demonstration drive written to %s\n", dir.c_str());
            return 0;
        } else if (a == "--access-ns") {
            accessNs = number(value(), "--access-ns");
        } else if (a == "--max-seconds") {
            maxSeconds = number(value(), "--max-seconds");
        } else if (a == "--verbose") {
            verbose = true;
        } else if (a == "--never-answer") {
            faults.neverAnswer = true;
        } else if (a == "--pull-after") {
            faults.pullAfterBytes = number(value(), "--pull-after");
        } else if (a == "--replug-after") {
            faults.replugAfterMs = number(value(), "--replug-after");
        } else if (a == "--bad-header") {
            faults.badHeaderFrame = static_cast<int>(number(value(), "--bad-header"));
        } else if (a == "--wrong-keyword") {
            faults.wrongKeywordFor = value();
        } else if (a == "--babble") {
            faults.wrongKeywordFor = value();
            faults.babble = true;
        } else if (a == "--empty-frames") {
            faults.emptyFramesFor = value();
        } else if (a == "--slow") {
            faults.slowAnswerMs = static_cast<int>(number(value(), "--slow"));
        } else {
            std::fprintf(stderr, "sondara-instrument-emulator: unknown option '%s'\n%s", a.c_str(),
                         kUsage);
            return 1;
        }
    }
    if (cablePath.empty() || root.empty()) {
        std::fputs(kUsage, stderr);
        return 1;
    }
    std::string error;
    auto cable = sondara::VirtualCable::open(cablePath, &error);
    if (!cable) {
        std::fprintf(stderr, "sondara-instrument-emulator: %s\n", error.c_str());
        return 2;
    }
    cable->setPlugged(true);
    sondara::VirtualPortIo io(cable, sondara::VirtualPortIo::Side::Instrument, accessNs);
    sondara::InstrumentServer server(io, root, cable);
    server.setFaults(faults);
    if (verbose)
        server.onCommand = [](const std::string& c) {
            std::printf("<- %s\n", c.c_str()), std::fflush(stdout);
        };

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::thread watch([&] {
        const auto start = std::chrono::steady_clock::now();
        while (!gStop) {
            if (maxSeconds >= 0 &&
                std::chrono::steady_clock::now() - start >= std::chrono::seconds(maxSeconds))
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        server.stop();
    });
    std::printf("serving %s on virtual:%s\n", root.c_str(), cablePath.c_str());
    std::fflush(stdout);
    server.run();
    watch.join();
    // Leave the cable as an instrument that was switched off: its line low.
    cable->store(sondara::VirtualCable::InstrumentData, 0);
    return 0;
}
