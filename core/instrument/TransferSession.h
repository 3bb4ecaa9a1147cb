#pragma once
// The PC side of a transfer as the transfer dialog and `sondara-cli transfer` use it:
// the port and its protocol, the connection probe with the site table, and the
// download and conversion of queued projects.
//
// Threads: one thread at a time calls the probe and the transfer (the dialog never
// probes while its worker runs); `abort()` may be called from any thread and makes
// the current exchange end within one status read.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/base/TrNoop.h"
#include "core/instrument/PortIo.h"
#include "core/instrument/SiteList.h"
#include "core/instrument/TransferProtocol.h"
#include "core/instrument/TransferQueue.h"

namespace sondara {

class Prompter;

inline constexpr const char* kInstrumentSiteList = "c:\\dat\\rsite.par";
inline constexpr const char* kInstrumentDataFolder = "C:\\DAT\\";
inline constexpr const char* kMsgQueueEmpty = SONDARA_TR_NOOP("sondara", "请选择所要传输的文件!");
inline constexpr const char* kMsgFetchFailed = SONDARA_TR_NOOP("sondara", "获取文件%s失败！");
inline constexpr const char* kMsgTransferDone = SONDARA_TR_NOOP("sondara", "QAR文件传输结束!");
inline constexpr const char* kTextNotConnected = SONDARA_TR_NOOP("sondara", "尚未连接。");
inline constexpr const char* kTextInstrumentFolder = "C:\\DAT";
// A data file that could not be written, with its path.
inline constexpr const char* kMsgWriteFailed = SONDARA_TR_NOOP("sondara", "写入文件%s失败！");

// "获取文件%s失败！" with the folder.
std::string FetchFailedMessage(const std::string& folder);

class TransferSession {
public:
    // Opens the port named by `port` (see ResolvePortName). Each probe receives the
    // site list into a private folder of this session (made with mkdtemp, mode 0700,
    // inside `scratchBase`; by default the user's runtime folder $XDG_RUNTIME_DIR, else
    // the program's temp folder), which is removed with the session.
    explicit TransferSession(const std::string& port = {}, std::string scratchBase = {});
    // Uses a port opened elsewhere (tests, the emulator's own checks).
    TransferSession(std::unique_ptr<PortIo> io, std::string scratchBase);
    ~TransferSession();
    TransferSession(const TransferSession&) = delete;
    TransferSession& operator=(const TransferSession&) = delete;

    TransferProtocol& protocol() { return *protocol_; }
    PortIo& port() { return *io_; }
    // Empty, or one line naming the port and why it could not be opened.
    std::string portError() const { return io_->openError(); }

    // One probe: asks for the site list. Not connected when the request cannot be
    // sent; the site table is read only when the instrument was not connected before.
    bool ConnectionProbe();
    bool connected() const { return connected_; }
    const std::vector<SiteEntry>& sites() const { return sites_; }

    struct ProjectResult {
        bool downloaded = false;   // the folder arrived whole
        bool converted = false;    // the data file was written
        bool writeFailed = false;  // converted, but the data file could not be written
        std::string targetPath;
        std::string stagingFolder;  // where the received files were put
        std::vector<std::string> failedFiles;
    };
    // Downloads the project of site entry `k` into a folder of its own inside
    // `targetFolder` and converts it into targetFolder + its display name. A project
    // whose files did not all arrive whole is not converted: "获取文件%s失败！" is shown
    // and the files that did arrive stay in the staging folder (an empty one is
    // removed). A data file that cannot be written shows "写入文件%s失败！" with its
    // path and the reason. Messages go to `prompter`.
    ProjectResult TransferProject(int k, const std::string& targetFolder, Prompter& prompter);

    // What the worker reports while it runs (called on the worker's thread).
    struct Progress {
        std::function<void(int percent)> progress;
        std::function<void()> queueChanged;
        std::function<void(int k, const ProjectResult&)> projectDone;
    };
    // Transfers the queued projects in order, each leaving the queue when done, until
    // the queue is empty or `cancel` becomes true (checked before each project).
    // Returns the number of projects that failed. When not cancelled, ends with the
    // progress at 100, "QAR文件传输结束!" and the progress at 0 -- except after a data
    // file that could not be written, whose message is the last word of the run (the
    // progress goes back to 0). Each message returns only once it was dismissed.
    int RunQueue(TransferQueue& queue, const std::string& targetFolder, Prompter& prompter,
                 const std::atomic<bool>& cancel, const Progress& report = {});

    void abort() { protocol_->abort(); }
    void clearAbort() { protocol_->clearAbort(); }

    // The private folder of the probes (empty before the first probe).
    const std::string& scratchFolder() const { return scratch_; }

private:
    bool ensureScratch();

    std::unique_ptr<PortIo> io_;
    std::unique_ptr<TransferProtocol> protocol_;
    std::string scratchBase_;
    std::string scratch_;
    bool connected_ = false;
    std::vector<SiteEntry> sites_;
};

}  // namespace sondara
