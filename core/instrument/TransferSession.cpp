#include "core/instrument/TransferSession.h"

#include <filesystem>

#include "core/app/AppPaths.h"
#include "core/base/Prompter.h"
#include "core/fileio/InstrumentProject.h"

namespace sondara {

namespace fs = std::filesystem;

std::string FetchFailedMessage(const std::string& folder) {
    std::string m = kMsgFetchFailed;
    m.replace(m.find("%s"), 2, folder);
    return m;
}

TransferSession::TransferSession(const std::string& port, std::string scratchFolder)
    : TransferSession(OpenPortIo(port), std::move(scratchFolder)) {}

TransferSession::TransferSession(std::unique_ptr<PortIo> io, std::string scratchFolder)
    : io_(std::move(io)), protocol_(std::make_unique<TransferProtocol>(*io_)),
      scratch_(std::move(scratchFolder)) {
    if (scratch_.empty()) scratch_ = tempDir() + "sondara-transfer/";
    scratch_ = TransferProtocol::WithSlash(scratch_);
}

bool TransferSession::ConnectionProbe() {
    const bool was = connected_;
    connected_ = false;
    makeDirs(scratch_);
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

TransferSession::ProjectResult TransferSession::TransferProject(int k, const std::string& targetFolder,
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
    makeDirs(result.stagingFolder);

    std::string instrumentFolder = std::string(kInstrumentDataFolder) + e.folderName + "\\";
    const int r = protocol_->Execute(TransferOp::DownloadFolder, instrumentFolder, result.stagingFolder);
    result.failedFiles = protocol_->FailedFiles();
    result.downloaded = r == 1 && result.failedFiles.empty();
    if (!result.downloaded) {
        prompter.info(FetchFailedMessage(target));
        return result;
    }
    InstrumentConversion c = ConvertInstrumentFolder(result.stagingFolder, result.targetPath, prompter);
    result.converted = c.written;
    std::error_code ec;
    if (c.written && fs::is_empty(result.stagingFolder, ec)) fs::remove(result.stagingFolder, ec);
    return result;
}

int TransferSession::RunQueue(TransferQueue& queue, const std::string& targetFolder, Prompter& prompter,
                              const std::atomic<bool>& cancel, const Progress& report) {
    const int total = queue.size();
    int done = 0, failed = 0;
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
        queue.removeFirst();
        if (report.queueChanged) report.queueChanged();
        if (r.downloaded && report.progress) report.progress(TransferProgress(total, done));
        if (report.projectDone) report.projectDone(k, r);
    }
    if (cancel.load()) return failed;
    if (report.progress) report.progress(100);
    prompter.info(kMsgTransferDone);
    if (report.progress) report.progress(0);
    return failed;
}

}  // namespace sondara
