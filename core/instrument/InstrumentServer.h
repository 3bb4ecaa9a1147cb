#pragma once
// The instrument's side of the transfer protocol: answers the PC's commands ("HI",
// "quit", "DIR", "CD", "PWD", "DOWNF", "DOWND", "GETD") from a folder that stands for
// the instrument's drive: "c:\dat\rsite.par" is ROOT/dat/rsite.par, with every name
// matched without regard to case. Used by `sondara-instrument-emulator` and by tests.
//
// Faults can be switched on to test how the PC copes with a misbehaving instrument.
// run() serves until stop() is called (from any thread).
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/instrument/InstrumentLink.h"
#include "core/instrument/PortIo.h"

namespace sondara {

class VirtualCable;

struct InstrumentFaults {
    bool neverAnswer = false;     // takes every command, answers none
    long pullAfterBytes = -1;     // pulls the cable once this many bytes were sent
    long replugAfterMs = -1;      // plugs it back this long after pulling (-1 never)
    int badHeaderFrame = -1;      // the K-th frame sent (1-based) has differing length copies
    std::string wrongKeywordFor;  // e.g. "DOWNF": that command gets a reply with a wrong keyword
    bool babble = false;          // ... and "WHAT?" again and again until the PC stops listening
    // "DOWNF" or "DOWND": after the PC's "SEND" the files of that command come as empty
    // data frames, sent until the PC stops listening (no byte ever arrives).
    std::string emptyFramesFor;
    int slowAnswerMs = 0;  // waits this long before every answer
};

class InstrumentServer {
public:
    // `io` is the instrument's end of the cable; `cable` (optional) is needed to pull
    // the plug for the pull fault.
    InstrumentServer(PortIo& io, std::string root, std::shared_ptr<VirtualCable> cable = nullptr);

    void setFaults(const InstrumentFaults& f) { faults_ = f; }
    // Log of commands received (for tests and the emulator's --verbose).
    std::function<void(const std::string&)> onCommand;

    void run();
    void stop() { link_.stop(); }

    std::uint64_t bytesSent() const { return link_.bytesSent(); }

    // ROOT-relative resolution of an instrument path ("c:\dat\x.par", "DAT\X.PAR"),
    // case-insensitively. Empty when a part escapes the root or does not exist
    // (`mustExist`); missing trailing parts keep the case given.
    std::string resolve(const std::string& instrumentPath, bool mustExist = true) const;

private:
    int reply(const std::string& text);
    int sendFile(const std::string& path, long size);
    void sendEmptyFrames();
    bool awaitSend();
    void handle(const std::string& command);
    void downloadFile(const std::string& arg);
    void downloadFolder(const std::string& arg);
    void uploadFolder(const std::string& arg);
    std::string listFolder(const std::string& arg) const;
    void maybeReplug();

    PortIo& io_;
    InstrumentLink link_;
    std::string root_;
    std::shared_ptr<VirtualCable> cable_;
    InstrumentFaults faults_;
    std::string cwd_ = "C:\\";
    std::string keyword_;  // the command being answered
    int framesSent_ = 0;
    bool quit_ = false;  // the PC said "quit" in the middle of an exchange
    std::chrono::steady_clock::time_point pulledAt_{};
    bool pulled_ = false;
};

}  // namespace sondara
