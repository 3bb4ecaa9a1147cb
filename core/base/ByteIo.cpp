#include "core/base/ByteIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>

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

AtomicFileWriter::AtomicFileWriter(std::string target) : target_(std::move(target)) {
    temp_ = target_ + ".tmpXXXXXX";
    fd_ = ::mkstemp(temp_.data());
    if (fd_ < 0) {
        error_ = std::strerror(errno);
        temp_.clear();
        return;
    }
    // keep the permissions a newly created file would get
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
    writer_ = ByteWriter(&AtomicFileWriter::sinkWrite, this);
}

AtomicFileWriter::~AtomicFileWriter() {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
}

bool AtomicFileWriter::sinkWrite(void* ctx, const void* data, std::size_t n) {
    auto* self = static_cast<AtomicFileWriter*>(ctx);
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        ssize_t w = ::write(self->fd_, p, n);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            self->error_ = std::strerror(errno ? errno : EIO);
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

bool AtomicFileWriter::commit() {
    if (fd_ < 0) return false;
    bool ok = writer_.flush();
    if (ok && ::fsync(fd_) != 0) {
        error_ = std::strerror(errno);
        ok = false;
    }
    if (::close(fd_) != 0 && ok) {
        error_ = std::strerror(errno);
        ok = false;
    }
    fd_ = -1;
    if (ok && ::rename(temp_.c_str(), target_.c_str()) != 0) {
        error_ = std::strerror(errno);
        ok = false;
    }
    if (ok) temp_.clear();
    return ok;
}

}  // namespace sondara
