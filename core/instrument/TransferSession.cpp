#include "core/instrument/TransferSession.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "core/app/AppPaths.h"
#include "core/base/Prompter.h"
#include "core/fileio/InstrumentProject.h"

namespace sondara {

namespace fs = std::filesystem;

namespace {

std::string withPath(const char* format, const std::string& path) {
    std::string m = format;
    m.replace(m.find("%s"), 2, path);
    return m;
}

// The folder that holds the session's private folder: the user's own runtime folder
// when there is one (nobody else can plant anything there), else the temp folder.
std::string defaultScratchBase() {
    const char* own = std::getenv("SONDARA_TEMP_DIR");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code ec;
    if ((!own || !*own) && runtime && *runtime && fs::is_directory(runtime, ec))
        return TransferProtocol::WithSlash(runtime);
    return tempDir();
}

// True when `dir` is still the folder mkdtemp made: a real folder (not a link), ours,
// closed to everybody else.
bool isPrivateFolder(const std::string& dir) {
    struct stat st {};
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

}  // namespace

std::string FetchFailedMessage(const std::string& folder) {
    return withPath(kMsgFetchFailed, folder);
}

TransferSession::TransferSession(const std::string& port, std::string scratchBase)
    : TransferSession(OpenPortIo(port), std::move(scratchBase)) {}

TransferSession::TransferSession(std::unique_ptr<PortIo> io, std::string scratchBase)
    : io_(std::move(io)),
      protocol_(std::make_unique<TransferProtocol>(*io_)),
      scratchBase_(std::move(scratchBase)) {
    if (scratchBase_.empty()) scratchBase_ = defaultScratchBase();
    scratchBase_ = TransferProtocol::WithSlash(scratchBase_);
}

TransferSession::~TransferSession() {
    if (scratch_.empty()) return;
    std::error_code ec;
    fs::remove_all(scratch_, ec);
}

bool TransferSession::ensureScratch() {
    if (!scratch_.empty() && isPrivateFolder(scratch_)) return true;
    // A name nobody can foresee, made with mode 0700 by mkdtemp itself.
    std::string name = scratchBase_ + "sondara-transfer-XXXXXX";
    if (!::mkdtemp(name.data())) {
        scratch_.clear();
        return false;
    }
    scratch_ = name + "/";
    return true;
}

bool TransferSession::ConnectionProbe() {
    const bool was = connected_;
    connected_ = false;
    if (!ensureScratch()) {
        sites_.clear();
        return false;
    }
    const std::string local = scratch_ + TransferProtocol::InstrumentFileName(kInstrumentSiteList);
    // A site list left by an earlier probe must not stand in for one not received now.
    std::error_code ec;
    fs::remove(local, ec);
    std::string path = kInstrumentSiteList;
    if (protocol_->Execute(TransferOp::DownloadFile, path, scratch_) == 0) {
        sites_.clear();
        return false;
    }
    connected_ = true;
    if (was) return true;
    sites_.clear();
    if (!ReadSiteList(local, sites_)) connected_ = false;
    return connected_;
}

TransferSession::ProjectResult TransferSession::TransferProject(int k,
                                                                const std::string& targetFolder,
                                                                Prompter& prompter) {
    ProjectResult result;
    const std::string target = TransferProtocol::WithSlash(targetFolder);
    const SiteEntry& e = sites_.at(static_cast<std::size_t>(k));
    result.targetPath = target + TargetFileName(e.displayName);
    // Each project arrives in a folder of its own, so that files of a failed project
    // never mix with the next one's and whatever arrived whole stays on disk.
    const std::string folderName = TransferProtocol::IsSafeFileName(e.folderName)
                                       ? e.folderName
                                       : "site" + std::to_string(k + 1);
    result.stagingFolder = target + folderName + ".download/";
    std::error_code ec;
    // Files are received into the folder itself, never through a link standing there.
    if (fs::is_symlink(fs::symlink_status(result.stagingFolder, ec)) ||
        !makeDirs(result.stagingFolder)) {
        prompter.info(FetchFailedMessage(target));
        return result;
    }
    // An empty staging folder holds nothing worth keeping (a project that failed
    // before any file arrived, or one whose files all went into its data file).
    auto dropIfEmpty = [&] {
        if (fs::is_empty(result.stagingFolder, ec)) fs::remove(result.stagingFolder, ec);
    };

    std::string instrumentFolder = std::string(kInstrumentDataFolder) + e.folderName + "\\";
    const int r =
        protocol_->Execute(TransferOp::DownloadFolder, instrumentFolder, result.stagingFolder);
    result.failedFiles = protocol_->FailedFiles();
    result.downloaded = r == 1 && result.failedFiles.empty();
    if (!result.downloaded) {
        dropIfEmpty();
        prompter.info(FetchFailedMessage(target));
        return result;
    }
    InstrumentConversion c =
        ConvertInstrumentFolder(result.stagingFolder, result.targetPath, prompter);
    result.converted = c.written;
    // The conversion names a folder that is no instrument project itself; a data file
    // that could not be written is said here, with the reason.
    if (!c.written && c.error != kMsgNotInstrumentProject) {
        result.writeFailed = true;
        std::string m = withPath(kMsgWriteFailed, result.targetPath);
        if (!c.error.empty()) m += "\n" + c.error;
        prompter.info(m);
    }
    if (c.written) dropIfEmpty();
    return result;
}

int TransferSession::RunQueue(TransferQueue& queue, const std::string& targetFolder,
                              Prompter& prompter, const std::atomic<bool>& cancel,
                              const Progress& report) {
    const int total = queue.size();
    int done = 0, failed = 0;
    bool writeFailed = false;
    while (!cancel.load() && !queue.empty()) {
        ++done;
        const int k = queue.first();
        if (k < 0 || k >= static_cast<int>(sites_.size())) {
            queue.removeFirst();
            if (report.queueChanged) report.queueChanged();
            continue;
        }
        ProjectResult r = TransferProject(k, targetFolder, prompter);
        if (!r.downloaded || !r.converted) ++failed;
        writeFailed = writeFailed || r.writeFailed;
        queue.removeFirst();
        if (report.queueChanged) report.queueChanged();
        if (r.downloaded && report.progress) report.progress(TransferProgress(total, done));
        if (report.projectDone) report.projectDone(k, r);
    }
    if (cancel.load()) return failed;
    // A run that lost a data file it had received must not end in words of success.
    if (!writeFailed) {
        if (report.progress) report.progress(100);
        prompter.info(kMsgTransferDone);
    }
    if (report.progress) report.progress(0);
    return failed;
}

}  // namespace sondara
