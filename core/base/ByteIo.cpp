#include "core/base/ByteIo.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "core/base/Format.h"

namespace sondara {

static_assert(std::endian::native == std::endian::little,
              "the stored records are little-endian; a big-endian build needs byte swapping");

namespace {

class FileSource : public ByteSource {
public:
    FileSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    ~FileSource() override { ::close(fd_); }
    std::size_t read(void* dst, std::size_t n) override {
        std::size_t got = 0;
        while (got < n) {
            ssize_t r = ::read(fd_, static_cast<char*>(dst) + got, n - got);
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) break;
            got += static_cast<std::size_t>(r);
        }
        return got;
    }
    std::uint64_t size() const override { return size_; }

private:
    int fd_;
    std::uint64_t size_;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view b) : b_(b) {}
    std::size_t read(void* dst, std::size_t n) override {
        std::size_t k = std::min(n, b_.size() - pos_);
        if (k) std::memcpy(dst, b_.data() + pos_, k);
        pos_ += k;
        return k;
    }
    std::uint64_t size() const override { return b_.size(); }

private:
    std::string_view b_;
    std::size_t pos_ = 0;
};

}  // namespace

std::unique_ptr<ByteSource> openFileSource(const std::string& path, std::string* error) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = std::strerror(errno);
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error) *error = "not a regular file";
        ::close(fd);
        return nullptr;
    }
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return std::make_unique<FileSource>(fd, static_cast<std::uint64_t>(st.st_size));
}

std::unique_ptr<ByteSource> memorySource(std::string_view bytes) {
    return std::make_unique<MemorySource>(bytes);
}

ByteReader::ByteReader(std::unique_ptr<ByteSource> src, std::size_t bufferSize)
    : src_(std::move(src)) {
    total_ = src_ ? src_->size() : 0;
    buf_.resize(std::max<std::size_t>(64, std::min<std::uint64_t>(bufferSize, total_ + 64)));
    if (!src_) ok_ = false;
}

bool ByteReader::fill() {
    if (!src_) return false;
    if (pos_ < len_) std::memmove(buf_.data(), buf_.data() + pos_, len_ - pos_);
    len_ -= pos_;
    pos_ = 0;
    std::size_t got = src_->read(buf_.data() + len_, buf_.size() - len_);
    len_ += got;
    return got > 0;
}

bool ByteReader::read(void* dst, std::size_t n) {
    if (!ok_ || n > remaining()) {
        if (n) std::memset(dst, 0, n);
        ok_ = false;
        return false;
    }
    auto* out = static_cast<unsigned char*>(dst);
    std::size_t done = 0;
    while (done < n) {
        if (pos_ == len_) {
            // Large requests bypass the buffer.
            if (n - done >= buf_.size()) {
                std::size_t got = src_->read(out + done, n - done);
                if (got == 0) break;
                done += got;
                continue;
            }
            if (!fill()) break;
        }
        std::size_t k = std::min(n - done, len_ - pos_);
        std::memcpy(out + done, buf_.data() + pos_, k);
        pos_ += k;
        done += k;
    }
    consumed_ += done;
    if (done < n) {  // the file shrank under us
        std::memset(out + done, 0, n - done);
        ok_ = false;
        total_ = consumed_;
        return false;
    }
    return true;
}

bool ByteReader::skip(std::uint64_t n) {
    unsigned char tmp[512];
    while (n > 0 && ok_) {
        std::size_t k = static_cast<std::size_t>(std::min<std::uint64_t>(n, sizeof tmp));
        if (!read(tmp, k)) return false;
        n -= k;
    }
    return ok_;
}

std::uint8_t ByteReader::u8() {
    std::uint8_t v = 0;
    read(&v, 1);
    return v;
}
std::int16_t ByteReader::i16() {
    std::int16_t v = 0;
    read(&v, 2);
    return v;
}
std::int32_t ByteReader::i32() {
    std::int32_t v = 0;
    read(&v, 4);
    return v;
}
float ByteReader::f32() {
    float v = 0;
    read(&v, 4);
    return v;
}

bool ByteReader::floats(std::vector<float>& out, std::size_t count) {
    if (!ok_ || count * 4 > remaining()) {
        ok_ = false;
        out.clear();
        return false;
    }
    out.resize(count);
    return count == 0 || read(out.data(), count * 4);
}

bool ByteReader::ints(std::vector<std::int32_t>& out, std::size_t count) {
    if (!ok_ || count * 4 > remaining()) {
        ok_ = false;
        out.clear();
        return false;
    }
    out.resize(count);
    return count == 0 || read(out.data(), count * 4);
}

void ByteWriter::bytes(const void* p, std::size_t n) {
    buf_.append(static_cast<const char*>(p), n);
    maybeFlush();
}
void ByteWriter::i16(std::int16_t v) {
    bytes(&v, 2);
}
void ByteWriter::i32(std::int32_t v) {
    bytes(&v, 4);
}
void ByteWriter::f32(float v) {
    bytes(&v, 4);
}
void ByteWriter::floats(const std::vector<float>& v) {
    if (!v.empty()) bytes(v.data(), v.size() * 4);
}
void ByteWriter::ints(const std::vector<std::int32_t>& v) {
    if (!v.empty()) bytes(v.data(), v.size() * 4);
}

bool ByteWriter::flush() {
    if (!sink_) return ok_;
    if (ok_ && !buf_.empty()) ok_ = sink_(ctx_, buf_.data(), buf_.size());
    buf_.clear();
    return ok_;
}

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string withReason(const std::string& path, int err) {
    return path + ": " + std::strerror(err);
}

// A symbolic link is followed: the file it names is replaced, the link stays.
std::string resolvedTarget(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string out(real);
    std::free(real);
    return out;
}

// The process's file creation mask, read once (changing it to read it is not safe
// while other threads create files).
mode_t creationMask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

// "<target>.~<pid>-" + 6 letters + ".tmp"
constexpr std::string_view kTempMark = ".~";
constexpr std::string_view kTempEnd = ".tmp";
constexpr std::size_t kTempLetters = 6;

std::string tempName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uint64_t x =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (std::uint64_t{counter.fetch_add(1)} * 0x9E3779B97F4A7C15ull);
    std::string letters;
    for (std::size_t i = 0; i < kTempLetters; ++i) {
        x ^= x >> 33;
        x *= 0xff51afd7ed558ccdull;
        x ^= x >> 29;
        letters += kLetters[x % (sizeof kLetters - 1)];
    }
    return target + std::string(kTempMark) + std::to_string(::getpid()) + "-" + letters +
           std::string(kTempEnd);
}

}  // namespace

bool IsWriterTemporaryName(std::string_view name, long* pid) {
    if (name.size() < kTempEnd.size() + kTempLetters + 4 ||
        name.substr(name.size() - kTempEnd.size()) != kTempEnd)
        return false;
    std::string_view rest = name.substr(0, name.size() - kTempEnd.size());
    const std::string_view letters = rest.substr(rest.size() - kTempLetters);
    if (!std::all_of(letters.begin(), letters.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
        return false;
    rest.remove_suffix(kTempLetters);
    if (rest.empty() || rest.back() != '-') return false;
    rest.remove_suffix(1);
    const auto mark = rest.rfind(kTempMark);
    if (mark == std::string_view::npos || mark == 0) return false;
    const std::string_view digits = rest.substr(mark + kTempMark.size());
    if (digits.empty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    if (pid) *pid = std::stol(std::string(digits));
    return true;
}

int RemoveStaleTemporaries(const std::string& folder, bool force) {
    // A folder is looked at again only after a pause: writing a thousand pictures into
    // one folder must not read it a thousand times.
    static std::mutex mutex;
    static std::map<std::string, std::chrono::steady_clock::time_point> lastLook;
    {
        const auto now = std::chrono::steady_clock::now();
        std::lock_guard<std::mutex> lock(mutex);
        auto it = lastLook.find(folder);
        if (!force && it != lastLook.end() && now - it->second < std::chrono::seconds(5)) return 0;
        lastLook[folder] = now;
    }
    DIR* d = ::opendir(folder.c_str());
    if (!d) return 0;
    int removed = 0;
    const long self = static_cast<long>(::getpid());
    while (const dirent* e = ::readdir(d)) {
        long pid = 0;
        if (!IsWriterTemporaryName(e->d_name, &pid) || pid == self || pid <= 0) continue;
        // only a writer that no longer runs: a live one (even another user's) keeps it
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        struct stat st;
        if (::fstatat(::dirfd(d), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        if (::unlinkat(::dirfd(d), e->d_name, 0) == 0) ++removed;
    }
    ::closedir(d);
    return removed;
}

namespace {
// A device, a pipe or a socket, or a name under /dev or /proc (/dev/stdout, a pipe's
// /proc/self/fd/N): written where it is, never replaced by a new file.
bool isDirectTarget(const std::string& path) {
    if (path.rfind("/dev/", 0) == 0 || path.rfind("/proc/", 0) == 0) return true;
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}
}  // namespace

bool IsReadOnlyTarget(const std::string& path) {
    struct stat st;
    const std::string target = resolvedTarget(path);
    if (::stat(target.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    if (::access(target.c_str(), W_OK) != 0) return errno == EACCES || errno == EROFS;
    return ::geteuid() == 0 && (st.st_mode & 0222) == 0;
}

std::string CheckOutputTarget(const std::string& path) {
    if (path.empty()) return withReason(path, ENOENT);
    if (isDirectTarget(path))
        return ::access(path.c_str(), W_OK) == 0 ? std::string() : withReason(path, errno);
    const std::string target = resolvedTarget(path);
    struct stat st;
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) return withReason(path, EISDIR);
        if (IsReadOnlyTarget(target)) return Format(kMsgReadOnlyTarget, path.c_str());
    }
    const std::string folder = folderOf(target);
    if (::stat(folder.c_str(), &st) != 0) return withReason(path, errno);
    if (!S_ISDIR(st.st_mode)) return withReason(path, ENOTDIR);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return withReason(path, errno);
    return {};
}

AtomicFileWriter::AtomicFileWriter(std::string target) : target_(resolvedTarget(target)) {
    error_ = CheckOutputTarget(target);
    if (!error_.empty()) return;
    // A device or a pipe is written where it is (neither a temporary nor an unnamed
    // file: the writer is direct when it has neither).
    if (isDirectTarget(target)) {
        target_ = target;
        fd_ = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd_ < 0)
            error_ = withReason(target, errno);
        else
            writer_ = ByteWriter(&AtomicFileWriter::sinkWrite, this);
        return;
    }
    const std::string folder = folderOf(target_);
    RemoveStaleTemporaries(folder);
    struct stat old;
    const bool replacing = ::stat(target_.c_str(), &old) == 0;
#ifdef O_TMPFILE
    // SONDARA_NO_UNNAMED_FILES takes the way of file systems without them (for tests)
    if (!std::getenv("SONDARA_NO_UNNAMED_FILES"))
        fd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    unnamed_ = fd_ >= 0;
    // the unnamed file is linked in through /proc; without it a named temporary serves
    if (unnamed_ && ::access(openPath().c_str(), F_OK) != 0) {
        ::close(fd_);
        fd_ = -1;
        unnamed_ = false;
    }
#endif
    if (fd_ < 0) {
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            temp_ = tempName(target_);
            fd_ = ::open(temp_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd_ < 0 && errno != EEXIST) break;
        }
        if (fd_ < 0) {
            error_ = withReason(target, errno);
            temp_.clear();
            return;
        }
        ::fchmod(fd_, 0666 & ~creationMask());
    }
    if (replacing) {
        // the owner first: giving a file away clears its set-id bits
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            if (::fchown(fd_, old.st_uid, old.st_gid) != 0) (void)!::fchown(fd_, -1, old.st_gid);
        ::fchmod(fd_, old.st_mode & 07777);
    }
    writer_ = ByteWriter(&AtomicFileWriter::sinkWrite, this);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

std::string AtomicFileWriter::openPath() const {
    if (fd_ < 0) return {};
    return unnamed_ || temp_.empty() ? "/proc/self/fd/" + std::to_string(fd_) : temp_;
}

void AtomicFileWriter::fail(int err) {
    if (error_.empty()) error_ = withReason(target_, err ? err : EIO);
}

bool AtomicFileWriter::sinkWrite(void* ctx, const void* data, std::size_t n) {
    auto* self = static_cast<AtomicFileWriter*>(ctx);
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        ssize_t w = ::write(self->fd_, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            self->fail(w < 0 ? errno : ENOSPC);
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

bool AtomicFileWriter::readAll(std::string& out) {
    out.clear();
    if (fd_ < 0 || !writer_.flush()) return false;
    struct stat st;
    if (::fstat(fd_, &st) != 0) return fail(errno), false;
    out.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < out.size()) {
        const ssize_t r = ::pread(fd_, out.data() + got, out.size() - got, static_cast<off_t>(got));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return fail(r < 0 ? errno : EIO), false;
        got += static_cast<std::size_t>(r);
    }
    return true;
}

bool AtomicFileWriter::replaceAll(std::string_view bytes) {
    if (fd_ < 0 || !writer_.flush()) return false;
    if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0) return fail(errno), false;
    return sinkWrite(this, bytes.data(), bytes.size());
}

bool AtomicFileWriter::commit() {
    if (fd_ < 0) return false;
    bool ok = writer_.flush();
    if (!unnamed_ && temp_.empty()) {  // a device or a pipe: nothing to replace
        if (::close(fd_) != 0 && ok) {
            fail(errno);
            ok = false;
        }
        fd_ = -1;
        return ok;
    }
    if (ok && ::fsync(fd_) != 0) {
        fail(errno);
        ok = false;
    }
    if (ok && unnamed_) {
        // a name for the finished file, then the atomic replacement of the target
        const std::string proc = openPath();
        for (int attempt = 0; attempt < 100; ++attempt) {
            temp_ = tempName(target_);
            if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, temp_.c_str(), AT_SYMLINK_FOLLOW) == 0)
                break;
            const int err = errno;
            temp_.clear();
            if (err != EEXIST) {
                fail(err);
                ok = false;
                break;
            }
        }
        if (ok && temp_.empty()) {
            fail(EEXIST);
            ok = false;
        }
    }
    if (::close(fd_) != 0 && ok) {
        fail(errno);
        ok = false;
    }
    fd_ = -1;
    if (ok && ::rename(temp_.c_str(), target_.c_str()) != 0) {
        fail(errno);
        ok = false;
    }
    if (ok) {
        temp_.clear();
        // the new name itself survives a power cut only once its folder is synced
        const int dir = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
    return ok;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    AtomicFileWriter f(path);
    if (f.isOpen()) {
        f.writer().bytes(bytes.data(), bytes.size());
        if (f.commit()) return true;
    }
    error = f.error();
    return false;
}

}  // namespace sondara
