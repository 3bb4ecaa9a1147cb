#pragma once
// The command protocol on the byte link: text commands and replies as frames, files
// streamed in frames of at most 4096 bytes, and the complete command set as one
// operation, `Execute`, selected by a `TransferOp`. The instrument is the server: the
// PC asks, the instrument answers.
//
// Local folders and files are paths of this machine ('/' separated); instrument paths
// are the instrument's ("c:\dat\rsite.par"). Status texts are UTF-8.
//
// Used by one thread at a time (see PortLink for abort()).
#include <cstdio>
#include <string>
#include <vector>

#include "core/base/TrNoop.h"
#include "core/instrument/PortLink.h"

namespace sondara {

enum class TransferOp {
    Hello = 1,           // "HI"
    Quit = 2,            // "quit"
    ListFolder = 3,      // "DIR %s"
    ChangeFolder = 4,    // "CD %s", then "PWD"
    DownloadFile = 5,    // "DOWNF %s"
    DownloadFolder = 6,  // "DOWND %s"
    UploadFolder = 7,    // "GETD %s"
};

inline constexpr const char* kStatusBadResponse = "Bad response from server";
inline constexpr const char* kStatusAlive = "Server is alive and well";
inline constexpr const char* kStatusCannotWrite = "CANNOT WRITE THE TARGET NAME";
inline constexpr const char* kStatusReceiveFileFailed =
    SONDARA_TR_NOOP("sondara", "接收文件失败！");
inline constexpr const char* kStatusNoFiles =
    SONDARA_TR_NOOP("sondara", "当前文件夹中无任何文件！");

class TransferProtocol : public PortLink {
public:
    // How long the protocol waits, counted in frame attempts (each attempt that sees
    // nothing waits through PortLink::kWaitReads status reads, about 64 ms).
    struct Patience {
        int textAttempts = 100;  // per text reply
        // Per file chunk. A chunk follows its predecessor at once, so the 100 attempts
        // of a text reply (about 6 s) are ample; more would hold a transfer with a
        // pulled cable for a very long time.
        int fileFrameAttempts = 100;
        // Failed replies in a row (a failed file receive counts as one) after which a
        // folder download gives up.
        int folderReplyAttempts = 2;
    };
    // The most announcements a folder download accepts (a project has at most 9998
    // points plus its two header files).
    static constexpr int kMaxFolderFiles = 10000;
    // The largest file announced by the instrument that is accepted (its files are a
    // few kilobytes; this keeps a corrupt announcement from filling the disk).
    static constexpr long kMaxFileBytes = 64L * 1024 * 1024;

    explicit TransferProtocol(PortIo& io) : PortLink(io) {}

    void setPatience(const Patience& p) { patience_ = p; }

    // The SendFrame result for the text (without terminator, at most 4096 bytes).
    // Otherwise 1: status "数据传输失败%d！" and Reset().
    int SendText(const std::string& text);
    // The reply's length with the reply in `text`, or -10 after "数据接收失败 %d！".
    int ReceiveText(std::string& text);
    // 1 when `size` bytes arrived and were written to `file`, 0 after a corrupt frame
    // header ("quit" is sent), otherwise the failing ReceiveFrame result (or -4 when
    // the file could not be written).
    int ReceiveFile(std::FILE* file, long size);
    // 1 when `size` bytes of `file` went out, otherwise the failing SendFrame result.
    int SendFile(long size, std::FILE* file);

    // 1 or 0 as each operation defines; `first` and `second` as in the table of
    // operations (first: greeting, listing or instrument path/folder; second:
    // instrument folder or local folder).
    int Execute(TransferOp op, std::string& first, const std::string& second);
    int Execute(TransferOp op) {
        std::string none;
        return Execute(op, none, {});
    }

    // Files of the last DownloadFolder that did not arrive whole (names as announced).
    // Their partial bytes are kept as NAME.part; they must not be taken as whole.
    const std::vector<std::string>& FailedFiles() const { return failedFiles_; }
    // Files of the last DownloadFolder/DownloadFile that arrived whole (local paths).
    const std::vector<std::string>& ReceivedFiles() const { return receivedFiles_; }

    // Local folder with a trailing slash.
    static std::string WithSlash(const std::string& folder);
    // The file name part of an instrument path ("c:\dat\rsite.par" -> "rsite.par").
    static std::string InstrumentFileName(const std::string& path);
    // A name announced by the instrument that can safely become a file in a local
    // folder: not empty, no separators, not "." or "..", no control characters.
    static bool IsSafeFileName(const std::string& name);

private:
    int hello(std::string& greeting);
    int listFolder(std::string& listing, const std::string& folder);
    int changeFolder(const std::string& folder);
    int downloadFile(const std::string& path, const std::string& folder);
    int downloadFolder(const std::string& instrumentFolder, const std::string& folder);
    int uploadFolder(const std::string& instrumentFolder, const std::string& folder);
    void setStatus(const char* format, int code);

    Patience patience_;
    std::vector<std::string> failedFiles_;
    std::vector<std::string> receivedFiles_;
};

// Case-insensitive comparison of the first `n` characters of `reply` with `keyword`.
bool ReplyStartsWith(const std::string& reply, const char* keyword);

}  // namespace sondara
