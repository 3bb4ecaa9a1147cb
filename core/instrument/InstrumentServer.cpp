#include "core/instrument/InstrumentServer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/instrument/TransferProtocol.h"
#include "core/instrument/VirtualCable.h"

namespace sondara {

namespace fs = std::filesystem;

namespace {

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool sameNoCase(const std::string& a, const std::string& b) {
    return upper(a) == upper(b);
}

std::vector<std::string> splitPath(const std::string& p) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : p) {
        if (c == '\\' || c == '/') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    return parts;
}

constexpr auto kAwaitPc = std::chrono::milliseconds(3000);  // the PC's next word within an exchange

}  // namespace

InstrumentServer::InstrumentServer(PortIo& io, std::string root,
                                   std::shared_ptr<VirtualCable> cable)
    : io_(io), link_(io, cable), root_(std::move(root)), cable_(std::move(cable)) {
    link_.onByteSent = [this](std::uint64_t n) {
        if (faults_.pullAfterBytes >= 0 && !pulled_ && cable_ &&
            n >= static_cast<std::uint64_t>(faults_.pullAfterBytes)) {
            cable_->setPlugged(false);
            pulled_ = true;
            pulledAt_ = std::chrono::steady_clock::now();
        }
    };
}

std::string InstrumentServer::resolve(const std::string& instrumentPath, bool mustExist) const {
    std::string p = instrumentPath;
    bool absolute = false;
    if (p.size() >= 2 && p[1] == ':') {
        p = p.substr(2);
        absolute = true;
    }
    if (!p.empty() && (p[0] == '\\' || p[0] == '/')) absolute = true;
    std::vector<std::string> parts;
    if (!absolute) parts = splitPath(cwd_.size() >= 2 && cwd_[1] == ':' ? cwd_.substr(2) : cwd_);
    for (std::string& s : splitPath(p)) parts.push_back(s);

    fs::path cur = root_;
    bool exists = true;
    for (const std::string& part : parts) {
        if (part.empty() || part == ".") continue;
        if (part == "..") return {};
        std::error_code ec;
        bool found = false;
        if (exists) {
            for (fs::directory_iterator it(cur, ec), end; !ec && it != end; it.increment(ec)) {
                if (sameNoCase(it->path().filename().string(), part)) {
                    cur = it->path();
                    found = true;
                    break;
                }
            }
        }
        if (!found) {
            if (mustExist) return {};
            exists = false;
            cur /= part;
        }
    }
    return cur.string();
}

int InstrumentServer::reply(const std::string& text) {
    std::this_thread::sleep_for(std::chrono::milliseconds(faults_.slowAnswerMs));
    const int n = static_cast<int>(std::min<std::size_t>(text.size(), 4096));
    ++framesSent_;
    const bool bad = framesSent_ == faults_.badHeaderFrame;
    return link_.sendFrame(reinterpret_cast<const std::uint8_t*>(text.data()), n, bad ? n + 1 : n,
                           bad) == 1 &&
                   !bad
               ? 1
               : -1;
}

bool InstrumentServer::awaitSend() {
    std::vector<std::uint8_t> p;
    if (link_.receiveFrame(p, kAwaitPc) != 1) return false;
    const std::string text(p.begin(), p.end());
    if (onCommand) onCommand(text);
    if (ReplyStartsWith(text, "quit")) quit_ = true;
    return ReplyStartsWith(text, "SEND");
}

void InstrumentServer::sendEmptyFrames() {
    // Bounded, so that a PC that keeps listening still gets the instrument back.
    for (int i = 0; i < 100000 && !link_.stopped(); ++i)
        if (link_.sendFrame(nullptr, 0, 0, false) != 1) return;
}

int InstrumentServer::sendFile(const std::string& path, long size) {
    if (!faults_.emptyFramesFor.empty() && keyword_ == upper(faults_.emptyFramesFor)) {
        sendEmptyFrames();
        return -1;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> buf(4096);
    std::this_thread::sleep_for(std::chrono::milliseconds(faults_.slowAnswerMs));
    long remaining = size;
    while (remaining > 0) {
        const int n = static_cast<int>(std::min<long>(remaining, 4096));
        std::fill(buf.begin(), buf.end(), 0);
        in.read(reinterpret_cast<char*>(buf.data()), n);
        ++framesSent_;
        const bool bad = framesSent_ == faults_.badHeaderFrame;
        if (link_.sendFrame(buf.data(), n, bad ? n + 1 : n, bad) != 1 || bad) return -1;
        remaining -= n;
    }
    return 1;
}

void InstrumentServer::downloadFile(const std::string& arg) {
    const std::string path = resolve(arg);
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(path, ec)) {
        reply("ERR FILE NOT FOUND");
        return;
    }
    const long size = static_cast<long>(fs::file_size(path, ec));
    if (reply("BEGIN" + std::to_string(size)) != 1) return;
    if (awaitSend()) sendFile(path, size);
}

void InstrumentServer::downloadFolder(const std::string& arg) {
    const std::string dir = resolve(arg);
    std::error_code ec;
    std::vector<fs::path> files;
    if (!dir.empty() && fs::is_directory(dir, ec))
        for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
            if (it->is_regular_file(ec)) files.push_back(it->path());
    std::sort(files.begin(), files.end());
    for (const fs::path& f : files) {
        if (link_.stopped()) return;
        const long size = static_cast<long>(fs::file_size(f, ec));
        if (reply("BEGIN" + std::to_string(size) + " " + f.filename().string()) != 1) return;
        if (!awaitSend()) {
            if (quit_) return;
            continue;
        }
        if (sendFile(f.string(), size) != 1) return;
    }
    reply("END");
}

void InstrumentServer::uploadFolder(const std::string& arg) {
    const std::string dir = resolve(arg, false);
    if (dir.empty()) return;
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (int files = 0; files < TransferProtocol::kMaxFolderFiles && !link_.stopped(); ++files) {
        std::vector<std::uint8_t> p;
        if (link_.receiveFrame(p, kAwaitPc) != 1) return;
        const std::string text(p.begin(), p.end());
        if (onCommand) onCommand(text);
        if (ReplyStartsWith(text, "END") || ReplyStartsWith(text, "quit")) return;
        if (!ReplyStartsWith(text, "BEGIN")) continue;  // "%s CANNOT OPEN"
        char* end = nullptr;
        const long size = std::strtol(text.c_str() + 5, &end, 10);
        const std::size_t nameAt = static_cast<std::size_t>(end - text.c_str()) + 1;
        const std::string name = nameAt < text.size() ? text.substr(nameAt) : std::string();
        if (!TransferProtocol::IsSafeFileName(name) || size < 0 ||
            size > TransferProtocol::kMaxFileBytes) {
            reply("ERR BAD NAME");
            continue;
        }
        if (reply("SEND") != 1) return;
        std::ofstream out(fs::path(dir) / name, std::ios::binary | std::ios::trunc);
        long remaining = size;
        while (remaining > 0) {
            if (link_.receiveFrame(p, kAwaitPc) != 1) return;
            out.write(reinterpret_cast<const char*>(p.data()),
                      static_cast<std::streamsize>(p.size()));
            remaining -= static_cast<long>(p.size());
        }
    }
}

std::string InstrumentServer::listFolder(const std::string& arg) const {
    const std::string dir = resolve(arg.empty() ? cwd_ : arg);
    std::error_code ec;
    if (dir.empty() || !fs::is_directory(dir, ec)) return "ERR NO SUCH FOLDER";
    std::vector<std::string> lines;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = upper(it->path().filename().string());
        if (it->is_directory(ec))
            lines.push_back(name + "\t<DIR>");
        else
            lines.push_back(name + "\t" + std::to_string(it->file_size(ec)));
    }
    std::sort(lines.begin(), lines.end());
    std::string out;
    for (const std::string& l : lines) {
        if (out.size() + l.size() + 2 > 4096) break;
        out += l + "\r\n";
    }
    return out.empty() ? std::string("<EMPTY>") : out;
}

void InstrumentServer::handle(const std::string& command) {
    const auto space = command.find(' ');
    const std::string keyword = upper(command.substr(0, space));
    const std::string arg = space == std::string::npos ? std::string() : command.substr(space + 1);
    quit_ = false;
    keyword_ = keyword;
    if (!faults_.wrongKeywordFor.empty() && keyword == upper(faults_.wrongKeywordFor)) {
        if (!faults_.babble) {
            reply("WHAT?");
            return;
        }
        for (int i = 0; i < 100000 && !link_.stopped(); ++i)
            if (reply("WHAT?") != 1) return;
        return;
    }
    if (keyword == "HI") {
        reply("HI sondara-instrument-emulator");
    } else if (keyword == "QUIT") {
        // nothing to answer
    } else if (keyword == "DIR") {
        reply(listFolder(arg));
    } else if (keyword == "CD") {
        const std::string dir = resolve(arg);
        std::error_code ec;
        if (!dir.empty() && fs::is_directory(dir, ec)) {
            std::string rel = fs::relative(dir, root_, ec).string();
            std::replace(rel.begin(), rel.end(), '/', '\\');
            cwd_ = "C:\\" + (rel == "." ? std::string() : upper(rel) + "\\");
            reply("OK");
        } else {
            reply("ERR NO SUCH FOLDER");
        }
    } else if (keyword == "PWD") {
        reply(cwd_);
    } else if (keyword == "DOWNF") {
        downloadFile(arg);
    } else if (keyword == "DOWND") {
        downloadFolder(arg);
    } else if (keyword == "GETD") {
        uploadFolder(arg);
    } else {
        reply("ERR UNKNOWN COMMAND");
    }
}

void InstrumentServer::maybeReplug() {
    if (!pulled_ || faults_.replugAfterMs < 0 || !cable_ || cable_->plugged()) return;
    if (std::chrono::steady_clock::now() - pulledAt_ >=
        std::chrono::milliseconds(faults_.replugAfterMs)) {
        cable_->setPlugged(true);
        link_.setReady();
    }
}

void InstrumentServer::run() {
    link_.setReady();
    while (!link_.stopped()) {
        maybeReplug();
        std::vector<std::uint8_t> p;
        if (link_.receiveFrame(p, std::chrono::milliseconds(100)) != 1) {
            // After a pull the writes went nowhere: say ready again once plugged.
            if (cable_ && cable_->plugged()) link_.setReady();
            continue;
        }
        const std::string command(p.begin(), p.end());
        if (onCommand) onCommand(command);
        if (faults_.neverAnswer) continue;
        handle(command);
    }
}

}  // namespace sondara
