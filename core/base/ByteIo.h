#pragma once
// Little-endian, bounds-checked byte reading and writing. Every stored record is
// read and written field by field through these classes, never by casting a raw
// buffer. A reader knows how many bytes remain, so a count read from a file can be
// checked against what the file can still hold before anything is allocated.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/FixedText.h"
#include "core/base/TrNoop.h"

namespace sondara {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to n bytes; returns how many were read (0 at the end or on error).
    virtual std::size_t read(void* dst, std::size_t n) = 0;
    virtual std::uint64_t size() const = 0;  // total bytes the source holds
};

// A file opened for reading; size() is the file size at opening.
std::unique_ptr<ByteSource> openFileSource(const std::string& path, std::string* error = nullptr);
std::unique_ptr<ByteSource> memorySource(std::string_view bytes);  // bytes must outlive it

class ByteReader {
public:
    explicit ByteReader(std::unique_ptr<ByteSource> src, std::size_t bufferSize = 1 << 20);

    bool ok() const { return ok_; }
    void fail() { ok_ = false; }
    void resetFail() { ok_ = true; }
    std::uint64_t remaining() const { return total_ - consumed_; }
    std::uint64_t offset() const { return consumed_; }
    bool atEnd() const { return remaining() == 0; }

    // Copies n bytes; on a short source copies nothing more, zero-fills dst and fails.
    bool read(void* dst, std::size_t n);
    bool skip(std::uint64_t n);

    std::uint8_t u8();
    std::int16_t i16();
    std::int32_t i32();
    float f32();
    template <std::size_t N>
    bool text(FixedText<N>& f) {
        return read(f.data(), N);
    }
    // Reads `count` elements of 4 bytes after checking the source still holds them.
    bool floats(std::vector<float>& out, std::size_t count);
    bool ints(std::vector<std::int32_t>& out, std::size_t count);

private:
    bool fill();
    std::unique_ptr<ByteSource> src_;
    std::vector<unsigned char> buf_;
    std::size_t pos_ = 0, len_ = 0;
    std::uint64_t total_ = 0, consumed_ = 0;
    bool ok_ = true;
};

// Appends little-endian fields to a buffer; `flush` hands full buffers to a sink.
class ByteWriter {
public:
    using Sink = bool (*)(void* ctx, const void* data, std::size_t n);
    ByteWriter() = default;
    ByteWriter(Sink sink, void* ctx, std::size_t chunk = 1 << 20)
        : sink_(sink), ctx_(ctx), chunk_(chunk) {
        buf_.reserve(chunk);
    }

    void bytes(const void* p, std::size_t n);
    void zeros(std::size_t n) {
        buf_.append(n, '\0');
        maybeFlush();
    }
    void u8(std::uint8_t v) { bytes(&v, 1); }
    void i16(std::int16_t v);
    void i32(std::int32_t v);
    void f32(float v);
    template <std::size_t N>
    void text(const FixedText<N>& f) {
        bytes(f.data(), N);
    }
    void floats(const std::vector<float>& v);
    void ints(const std::vector<std::int32_t>& v);

    bool flush();  // pushes everything to the sink; false once the sink failed
    bool ok() const { return ok_; }
    const std::string& buffer() const { return buf_; }  // for in-memory writers
    std::string take() { return std::move(buf_); }

private:
    void maybeFlush() {
        if (sink_ && buf_.size() >= chunk_) flush();
    }
    std::string buf_;
    Sink sink_ = nullptr;
    void* ctx_ = nullptr;
    std::size_t chunk_ = 0;
    bool ok_ = true;
};

// The refusal of a target that exists and may not be written ("%s" is its path).
inline constexpr const char* kMsgReadOnlyTarget =
    SONDARA_TR_NOOP("sondara", "文件%s为只读，不能保存！");

// Why `path` cannot be written as an output (empty when it can): a target that exists
// and may not be written is refused with kMsgReadOnlyTarget; a folder, a missing folder
// or one that may not be written say so with the path and the system's reason. Root
// may write any file, so for root a target whose mode has no write bit for anyone
// counts as read-only too: what `chmod a-w` protects stays protected.
std::string CheckOutputTarget(const std::string& path);
bool IsReadOnlyTarget(const std::string& path);

// Writes a file so that the previous file survives any failure and a killed writer
// leaves nothing behind. The bytes go to an unnamed file in the target's folder
// (O_TMPFILE), which is given a name only when it is complete, synced to disk, and
// renamed over the target. Where the file system has no unnamed files, a named
// temporary "<target>.~<pid>-<6 letters>.tmp" stands in; the next write to the same
// folder removes those whose writer is gone. A replaced target keeps its mode (and its
// owner where the user may give it). Read-only targets are refused (CheckOutputTarget).
// Each writer is used by one thread; writers to one folder may run on several threads.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::string target);
    ~AtomicFileWriter();  // discards the temporary file unless committed
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    ByteWriter& writer() { return writer_; }
    // A name by which a library that writes by file name can open the new file
    // ("/proc/self/fd/N" for the unnamed file). Close it before commit().
    std::string openPath() const;
    // The bytes written so far (by writer() or through openPath()), and a replacement
    // of them: for outputs mended after a library wrote them.
    bool readAll(std::string& out);
    bool replaceAll(std::string_view bytes);
    // Flushes, syncs and renames over the target. False (and the target untouched)
    // on any failure; error() says why.
    bool commit();
    const std::string& error() const { return error_; }

private:
    static bool sinkWrite(void* ctx, const void* data, std::size_t n);
    void fail(int err);
    std::string target_, temp_, error_;
    int fd_ = -1;
    bool unnamed_ = false;
    ByteWriter writer_;
};

// Writes `bytes` as the whole file `path` through an AtomicFileWriter; false with the
// reason in `error` ("<path>: <reason>", or the read-only refusal).
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

// Removes the named temporaries of writers that are gone from `folder` (see
// AtomicFileWriter); returns how many were removed. Each folder is looked at no more
// than once every few seconds, unless `force`.
int RemoveStaleTemporaries(const std::string& folder, bool force = false);
// True for a name of such a temporary; `pid` gets its writer's process id.
bool IsWriterTemporaryName(std::string_view name, long* pid = nullptr);

}  // namespace sondara
