#include "core/instrument/TransferProtocol.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace sondara {

namespace {

// A received file always gets a new file of its own: whatever stands at its name
// (an earlier copy, or a link planted there) is taken away, never written through,
// and a name taken again in between makes the receive fail rather than follow it.
std::FILE* createFile(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode) || ::unlink(path.c_str()) != 0) return nullptr;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) ::close(fd);
    return f;
}

std::string format1(const char* format, const std::string& arg) {
    std::string out = format;
    const auto at = out.find("%s");
    if (at != std::string::npos) out.replace(at, 2, arg);
    return out;
}

// Keeps the bytes of a file that did not arrive whole under NAME.part, so nothing
// received is lost and nothing takes it for the whole file. A file that got no byte
// at all holds nothing to keep.
void setAside(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) == 0 && !ec) {
        std::filesystem::remove(path, ec);
        return;
    }
    std::filesystem::rename(path, path + ".part", ec);
    if (ec) std::filesystem::remove(path, ec);
}

}  // namespace

bool ReplyStartsWith(const std::string& reply, const char* keyword) {
    const std::size_t n = std::strlen(keyword);
    if (reply.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(reply[i])) !=
            std::tolower(static_cast<unsigned char>(keyword[i])))
            return false;
    return true;
}

std::string TransferProtocol::WithSlash(const std::string& folder) {
    if (folder.empty() || folder.back() == '/') return folder;
    return folder + '/';
}

std::string TransferProtocol::InstrumentFileName(const std::string& path) {
    const auto at = path.find_last_of("\\/:");
    return at == std::string::npos ? path : path.substr(at + 1);
}

bool TransferProtocol::IsSafeFileName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.size() > 255) return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == '/' || c == '\\' || c == 0x7F) return false;
    return true;
}

void TransferProtocol::setStatus(const char* format, int code) {
    char buf[200];
    std::snprintf(buf, sizeof buf, format, code);
    statusText_ = buf;
}

int TransferProtocol::SendText(const std::string& text) {
    const int n = static_cast<int>(std::min<std::size_t>(text.size(), kFrameBytes));
    std::memcpy(frame_.data(), text.data(), n);
    const int r = SendFrame(n, frame_.data());
    if (r != 1) {
        setStatus("数据传输失败%d！", r);
        Reset();
    }
    return r;
}

int TransferProtocol::ReceiveText(std::string& text) {
    text.clear();
    int r = -1, length = 0;
    for (int i = 0; i < patience_.textAttempts && !aborted(); ++i) {
        r = ReceiveFrame(length, frame_.data());
        if (r != -1) break;
    }
    if (r != 1) {
        setStatus("数据接收失败 %d！", r);
        Reset();
        return -10;
    }
    text.assign(reinterpret_cast<const char*>(frame_.data()), length);
    return length;
}

int TransferProtocol::ReceiveFile(std::FILE* file, long size) {
    long remaining = size;
    while (remaining > 0) {
        Reset();
        int r = -1, length = 0;
        for (int i = 0; i < patience_.fileFrameAttempts && !aborted(); ++i) {
            r = ReceiveFrame(length, frame_.data());
            // A frame that brings no bytes is no progress: it counts as an attempt
            // that saw nothing, so an instrument sending only empty frames ends here.
            if (r == 1 && length <= 0) r = -1;
            if (r != -1) break;
        }
        if (r == -3) {
            SendText("quit");
            return 0;
        }
        if (r != 1) {
            setStatus("数据接收失败 %d！", r);
            return r;
        }
        if (std::fwrite(frame_.data(), 1, length, file) != static_cast<std::size_t>(length)) {
            setStatus("数据接收失败 %d！", -4);
            return -4;
        }
        remaining -= length;
    }
    return 1;
}

int TransferProtocol::SendFile(long size, std::FILE* file) {
    long remaining = size;
    while (remaining > 0) {
        const int n = static_cast<int>(std::min<long>(remaining, kFrameBytes));
        const std::size_t got = std::fread(frame_.data(), 1, n, file);
        // A file that shrank since its length was taken is padded with zeros, so that
        // the instrument still gets the announced number of bytes.
        if (got < static_cast<std::size_t>(n)) std::memset(frame_.data() + got, 0, n - got);
        Reset();
        const int r = SendFrame(n, frame_.data());
        if (r != 1) {
            setStatus("数据传输失败%d！", r);
            Reset();
            return r;
        }
        remaining -= n;
    }
    return 1;
}

int TransferProtocol::Execute(TransferOp op, std::string& first, const std::string& second) {
    Reset();
    switch (op) {
        case TransferOp::Hello:
            return hello(first);
        case TransferOp::Quit: {
            const int r = SendText("quit");
            Reset();
            return r;
        }
        case TransferOp::ListFolder:
            return listFolder(first, second);
        case TransferOp::ChangeFolder:
            return changeFolder(second);
        case TransferOp::DownloadFile:
            return downloadFile(first, second);
        case TransferOp::DownloadFolder:
            return downloadFolder(first, second);
        case TransferOp::UploadFolder:
            return uploadFolder(first, second);
    }
    return 0;
}

int TransferProtocol::hello(std::string& greeting) {
    Reset();
    SendText("HI");
    std::string reply;
    ReceiveText(reply);
    if (!ReplyStartsWith(reply, "HI")) {
        statusText_ = kStatusBadResponse;
        Reset();
        return 0;
    }
    statusText_ = kStatusAlive;
    greeting = reply.size() > 3 ? reply.substr(3) : std::string();
    return 1;
}

int TransferProtocol::listFolder(std::string& listing, const std::string& folder) {
    Reset();
    listing.clear();
    if (SendText("DIR " + folder) != 1) return 0;
    return ReceiveText(listing) > 0 ? 1 : 0;
}

int TransferProtocol::changeFolder(const std::string& folder) {
    if (SendText("CD " + folder) != 1) return 0;
    std::string reply;
    ReceiveText(reply);
    if (ReplyStartsWith(reply, "OK") && SendText("PWD") == 1) {
        ReceiveText(reply);
        statusText_ = format1("Directory on server is now %s", reply);
    }
    return 0;
}

int TransferProtocol::downloadFile(const std::string& path, const std::string& folder) {
    receivedFiles_.clear();
    failedFiles_.clear();
    const std::string local = WithSlash(folder) + InstrumentFileName(path);
    if (SendText("DOWNF " + path) != 1) return 0;
    std::string reply;
    ReceiveText(reply);
    if (!ReplyStartsWith(reply, "BEGIN")) return 1;
    long size = std::strtol(reply.c_str() + 5, nullptr, 10);
    if (size > kMaxFileBytes) {
        statusText_ = kStatusReceiveFileFailed;
        return 1;
    }
    std::FILE* f = IsSafeFileName(InstrumentFileName(path)) ? createFile(local) : nullptr;
    if (!f) {
        statusText_ = kStatusCannotWrite;
        return 1;
    }
    bool whole = SendText("SEND") == 1 && ReceiveFile(f, size) == 1;
    whole = (std::fclose(f) == 0) && whole;
    if (whole) {
        statusText_ = format1("Received: %s", local);
        receivedFiles_.push_back(local);
    } else {
        // A part of the file must not pass for the file (the probe would read a
        // truncated site list).
        statusText_ = kStatusReceiveFileFailed;
        failedFiles_.push_back(InstrumentFileName(path));
        std::error_code ec;
        std::filesystem::remove(local, ec);
    }
    return 1;
}

int TransferProtocol::downloadFolder(const std::string& instrumentFolder,
                                     const std::string& folder) {
    receivedFiles_.clear();
    failedFiles_.clear();
    const std::string local = WithSlash(folder);
    if (SendText("DOWND " + instrumentFolder) != 1) return 0;
    int failedReplies = 0;
    // Replies that are neither "END" nor a readable announcement are passed over, but
    // counted: an instrument that says nothing else ends the download after as many of
    // them as a text reply has attempts.
    int unreadable = 0;
    auto passOver = [&] { return ++unreadable < patience_.textAttempts; };
    for (int announced = 0; announced <= kMaxFolderFiles;) {
        if (aborted()) return 0;
        std::string reply;
        if (ReceiveText(reply) < 0) {
            if (++failedReplies >= patience_.folderReplyAttempts) return 0;
            continue;
        }
        failedReplies = 0;
        if (ReplyStartsWith(reply, "END")) return 1;
        if (!ReplyStartsWith(reply, "BEGIN")) {
            if (passOver()) continue;
            setStatus("数据接收失败 %d！", -1);
            return 0;
        }
        // "BEGIN%ld %s": the size, one separating character, the name.
        const char* digits = reply.c_str() + 5;
        char* end = nullptr;
        errno = 0;
        const long size = std::strtol(digits, &end, 10);
        if (end == digits || errno == ERANGE || size < 0) {
            if (passOver()) continue;
            setStatus("数据接收失败 %d！", -1);
            return 0;
        }
        ++announced;
        const std::size_t nameAt = static_cast<std::size_t>(end - reply.c_str()) + 1;
        const std::string name = nameAt < reply.size() ? reply.substr(nameAt) : std::string();
        if (size > kMaxFileBytes) {
            // Refused without "SEND": the instrument's next words are awaited.
            statusText_ = kStatusReceiveFileFailed;
            failedFiles_.push_back(name);
            continue;
        }
        std::FILE* f = IsSafeFileName(name) ? createFile(local + name) : nullptr;
        if (!f) {
            statusText_ = kStatusCannotWrite;
            failedFiles_.push_back(name);
            return 1;
        }
        const int sent = SendText("SEND");
        const int r = sent == 1 ? ReceiveFile(f, size) : sent;
        const bool closed = std::fclose(f) == 0;
        if (r == 1 && closed) {
            receivedFiles_.push_back(local + name);
            continue;
        }
        statusText_ = kStatusReceiveFileFailed;
        failedFiles_.push_back(name);
        setAside(local + name);
        // After a corrupt header the PC itself said "quit": nothing more will come.
        if (r == 0) return 1;
        if (r != 1 && ++failedReplies >= patience_.folderReplyAttempts) return 0;
    }
    return 0;
}

int TransferProtocol::uploadFolder(const std::string& instrumentFolder, const std::string& folder) {
    const std::string local = WithSlash(folder);
    if (SendText("GETD " + instrumentFolder) != 1) return 0;
    DIR* dir = ::opendir(local.empty() ? "." : local.c_str());
    if (!dir) {
        statusText_ = kStatusNoFiles;
    } else {
        while (dirent* e = ::readdir(dir)) {
            if (aborted()) break;
            const std::string name = e->d_name;
            std::FILE* f = std::fopen((local + name).c_str(), "rb");
            struct stat st {};
            if (f && (::fstat(::fileno(f), &st) != 0 || !S_ISREG(st.st_mode))) {
                std::fclose(f);
                f = nullptr;
            }
            if (!f) {
                SendText(name + " CANNOT OPEN");
                continue;
            }
            SendText("BEGIN" + std::to_string(static_cast<long>(st.st_size)) + " " + name);
            std::string reply;
            ReceiveText(reply);
            if (ReplyStartsWith(reply, "SEND")) SendFile(static_cast<long>(st.st_size), f);
            std::fclose(f);
        }
        ::closedir(dir);
    }
    SendText("END");
    return 1;
}

}  // namespace sondara
