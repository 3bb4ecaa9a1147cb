// Text commands, replies, file streams and the seven operations, against an
// instrument simulated inside the register accesses.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/instrument/TransferProtocol.h"
#include "support/TestSupport.h"
#include "tests/core/instrument/ScriptedInstrument.h"

namespace sondara {
namespace {

namespace fs = std::filesystem;
using test::frameBytes;
using test::ScriptedInstrument;
using test::TempDir;

std::vector<std::uint8_t> join(std::initializer_list<std::vector<std::uint8_t>> parts) {
    std::vector<std::uint8_t> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(TransferProtocol, TextRepliesRetryThenFailWithStatus) {
    ScriptedInstrument port;
    TransferProtocol p(port);
    port.script = [](const std::string& t) { return frameBytes("HI there " + t); };
    std::string greeting;
    EXPECT_EQ(p.Execute(TransferOp::Hello, greeting, {}), 1);
    EXPECT_EQ(greeting, "there HI");
    EXPECT_EQ(p.StatusText(), kStatusAlive);

    port.script = [](const std::string&) { return frameBytes("NO"); };
    EXPECT_EQ(p.Execute(TransferOp::Hello, greeting, {}), 0);
    EXPECT_EQ(p.StatusText(), kStatusBadResponse);

    // Silence: 100 frame attempts, then "数据接收失败 -1！".
    port.script = [](const std::string&) { return std::vector<std::uint8_t>{}; };
    std::string text;
    port.statusReads = 0;
    EXPECT_EQ(p.ReceiveText(text), -10);
    EXPECT_EQ(p.StatusText(), "数据接收失败 -1！");
    EXPECT_EQ(port.statusReads, 100L * PortLink::kWaitReads);

    ScriptedInstrument off;
    off.plugged = false;
    TransferProtocol q(off);
    EXPECT_EQ(q.SendText("HI"), -1);
    EXPECT_EQ(q.StatusText(), "数据传输失败-1！");
    EXPECT_EQ(q.Execute(TransferOp::Quit), -1);
}

TEST(TransferProtocol, ReceiveFileStopsAtCorruptHeaderAndSaysQuit) {
    TempDir dir;
    ScriptedInstrument port;
    TransferProtocol p(port);
    {
        std::FILE* f = std::fopen(dir.file("zero").c_str(), "wb");
        EXPECT_EQ(p.ReceiveFile(f, 0), 1);
        std::fclose(f);
        EXPECT_EQ(port.statusReads, 0);  // nothing read for an empty file
    }
    port.queue(frameBytes("abcd"));
    port.queue(std::vector<std::uint8_t>{0x02, 0x00, 0x03, 0x00});
    std::FILE* f = std::fopen(dir.file("part").c_str(), "wb");
    EXPECT_EQ(p.ReceiveFile(f, 10), 0);
    std::fclose(f);
    EXPECT_EQ(test::readFile(dir.file("part")), "abcd");
    ASSERT_EQ(port.received.size(), 1u);
    EXPECT_EQ(port.received[0], "quit");
}

TEST(TransferProtocol, DownloadFileNeedsBeginAndWritesTheFile) {
    TempDir dir;
    ScriptedInstrument port;
    TransferProtocol p(port);
    port.script = [](const std::string& t) {
        if (t == "DOWNF c:\\dat\\rsite.par") return frameBytes("BEGIN5");
        if (t == "SEND") return frameBytes("12345");
        return std::vector<std::uint8_t>{};
    };
    std::string path = "c:\\dat\\rsite.par";
    EXPECT_EQ(p.Execute(TransferOp::DownloadFile, path, dir.path()), 1);
    EXPECT_EQ(test::readFile(dir.file("rsite.par")), "12345");
    EXPECT_EQ(p.StatusText(), "Received: " + dir.file("rsite.par"));

    fs::remove(dir.file("rsite.par"));
    port.script = [](const std::string&) { return frameBytes("ERR FILE NOT FOUND"); };
    EXPECT_EQ(p.Execute(TransferOp::DownloadFile, path, dir.path()), 1);
    EXPECT_FALSE(fs::exists(dir.file("rsite.par")));

    // The file breaks off: no part of it passes for the file.
    port.script = [](const std::string& t) {
        if (t == "SEND") return frameBytes("12");
        return frameBytes("BEGIN5");
    };
    p.setPatience({2, 2, 2});
    EXPECT_EQ(p.Execute(TransferOp::DownloadFile, path, dir.path()), 1);
    EXPECT_FALSE(fs::exists(dir.file("rsite.par")));
    EXPECT_EQ(p.StatusText(), kStatusReceiveFileFailed);

    ScriptedInstrument off;
    off.plugged = false;
    TransferProtocol q(off);
    EXPECT_EQ(q.Execute(TransferOp::DownloadFile, path, dir.path()), 0);
}

TEST(TransferProtocol, DownloadFolderReceivesAnnouncedFiles) {
    TempDir dir;
    ScriptedInstrument port;
    TransferProtocol p(port);
    p.setPatience({3, 3, 2});
    std::vector<std::string> replies;
    port.script = [&](const std::string& t) {
        if (t == "DOWND C:\\DAT\\S1\\")
            return join({frameBytes("hello"), frameBytes("BEGIN3 a.par")});
        if (t == "SEND" && replies.empty()) {
            replies.push_back("a");
            return join({frameBytes("xyz"), frameBytes("BEGIN4098 1.qar")});
        }
        if (t == "SEND")
            return join({frameBytes(std::string(4096, 'q')), frameBytes("rs"), frameBytes("END")});
        return std::vector<std::uint8_t>{};
    };
    std::string folder = "C:\\DAT\\S1\\";
    EXPECT_EQ(p.Execute(TransferOp::DownloadFolder, folder, dir.path()), 1);
    EXPECT_EQ(test::readFile(dir.file("a.par")), "xyz");
    EXPECT_EQ(test::readFile(dir.file("1.qar")), std::string(4096, 'q') + "rs");
    EXPECT_TRUE(p.FailedFiles().empty());
    EXPECT_EQ(p.ReceivedFiles().size(), 2u);

    // Answered by END at once: nothing written.
    TempDir empty;
    port.script = [](const std::string&) { return frameBytes("END"); };
    EXPECT_EQ(p.Execute(TransferOp::DownloadFolder, folder, empty.path()), 1);
    EXPECT_TRUE(fs::is_empty(empty.path()));

    // A name that would leave the folder is refused.
    port.script = [](const std::string& t) {
        return t == "SEND" ? frameBytes("boom") : frameBytes("BEGIN4 ../evil");
    };
    EXPECT_EQ(p.Execute(TransferOp::DownloadFolder, folder, empty.path()), 1);
    EXPECT_EQ(p.StatusText(), kStatusCannotWrite);
    EXPECT_EQ(p.FailedFiles(), std::vector<std::string>{"../evil"});
    EXPECT_FALSE(fs::exists(fs::path(empty.path()) / ".." / "evil"));

    // Silence after the request: gives up after the bounded retries.
    port.script = [](const std::string&) { return std::vector<std::uint8_t>{}; };
    EXPECT_EQ(p.Execute(TransferOp::DownloadFolder, folder, empty.path()), 0);
}

TEST(TransferProtocol, DownloadFolderKeepsPartialFileApart) {
    TempDir dir;
    ScriptedInstrument port;
    TransferProtocol p(port);
    p.setPatience({3, 3, 2});
    int sends = 0;
    port.script = [&](const std::string& t) -> std::vector<std::uint8_t> {
        if (t.rfind("DOWND", 0) == 0) return frameBytes("BEGIN3 qar.par");
        if (t == "SEND" && sends++ == 0)
            return join({frameBytes("ok!"), frameBytes("BEGIN10 1.qar")});
        // Five bytes of ten, then a corrupt header.
        if (t == "SEND") return join({frameBytes("12345"), {0x0A, 0x00, 0x0B, 0x00}});
        return {};
    };
    std::string folder = "C:\\DAT\\S1\\";
    EXPECT_EQ(p.Execute(TransferOp::DownloadFolder, folder, dir.path()), 1);
    EXPECT_EQ(test::readFile(dir.file("qar.par")), "ok!");
    EXPECT_FALSE(fs::exists(dir.file("1.qar")));
    EXPECT_EQ(test::readFile(dir.file("1.qar.part")), "12345");
    EXPECT_EQ(p.FailedFiles(), std::vector<std::string>{"1.qar"});
    EXPECT_EQ(port.received.back(), "quit");
}

TEST(TransferProtocol, UploadFolderAnnouncesEveryEntry) {
    TempDir dir;
    ScriptedInstrument port;
    TransferProtocol p(port);
    port.script = [](const std::string& t) {
        return t.rfind("BEGIN", 0) == 0 ? frameBytes("SEND") : std::vector<std::uint8_t>{};
    };
    std::string folder = "C:\\UP\\";
    EXPECT_EQ(p.Execute(TransferOp::UploadFolder, folder, dir.file("missing")), 1);
    EXPECT_EQ(port.received, (std::vector<std::string>{"GETD C:\\UP\\", "END"}));
    EXPECT_EQ(p.StatusText(), kStatusNoFiles);

    test::writeFile(dir.file("f.bin"), std::string(5000, 'z'));
    port.received.clear();
    EXPECT_EQ(p.Execute(TransferOp::UploadFolder, folder, dir.path()), 1);
    std::vector<std::string> r = port.received;
    EXPECT_EQ(r.front(), "GETD C:\\UP\\");
    EXPECT_EQ(r.back(), "END");
    EXPECT_NE(std::find(r.begin(), r.end(), ". CANNOT OPEN"), r.end());
    EXPECT_NE(std::find(r.begin(), r.end(), ".. CANNOT OPEN"), r.end());
    auto begin = std::find(r.begin(), r.end(), "BEGIN5000 f.bin");
    ASSERT_NE(begin, r.end());
    EXPECT_EQ(*(begin + 1), std::string(4096, 'z'));  // exactly min(remaining, 4096)
    EXPECT_EQ(*(begin + 2), std::string(904, 'z'));
}

TEST(TransferProtocol, ListAndChangeFolder) {
    ScriptedInstrument port;
    TransferProtocol p(port);
    port.script = [](const std::string& t) {
        if (t == "DIR C:\\DAT") return frameBytes("A\r\nB\r\n");
        if (t == "CD C:\\DAT") return frameBytes("ok");
        if (t == "PWD") return frameBytes("C:\\DAT\\");
        return std::vector<std::uint8_t>{};
    };
    std::string listing;
    EXPECT_EQ(p.Execute(TransferOp::ListFolder, listing, "C:\\DAT"), 1);
    EXPECT_EQ(listing, "A\r\nB\r\n");
    std::string none;
    EXPECT_EQ(p.Execute(TransferOp::ChangeFolder, none, "C:\\DAT"), 0);
    EXPECT_EQ(p.StatusText(), "Directory on server is now C:\\DAT\\");
}

}  // namespace
}  // namespace sondara
