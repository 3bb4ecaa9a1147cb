#pragma once
// Decoding and encoding of fixed-size record images held in a local byte array.
// A whole image is read from the file in one bounds-checked call, then taken apart
// field by field here; this keeps the reader fast without casting raw buffers.
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/base/FixedText.h"

namespace sondara {

class ImageIn {
public:
    ImageIn(const unsigned char* p, std::size_t n) : p_(p), n_(n) {}
    template <typename T>
    void get(T& v) {
        static_assert(std::is_trivially_copyable_v<T>);
        take(&v, sizeof v);
    }
    // The field visitor form: every field (fixed texts too) at its full width.
    template <typename T>
    void operator()(T& v) {
        get(v);
    }
    template <std::size_t N>
    void text(FixedText<N>& f, std::size_t bytes = N) {
        f.fill(0);
        take(f.data(), bytes < N ? bytes : N);
        if (bytes > N) skip(bytes - N);
    }
    void raw(void* dst, std::size_t n) { take(dst, n); }
    void skip(std::size_t n) { pos_ += n <= n_ - pos_ ? n : n_ - pos_; }
    void gap(std::size_t n) { skip(n); }
    std::size_t pos() const { return pos_; }

private:
    void take(void* dst, std::size_t n) {
        if (n > n_ - pos_) {  // never past the image: the rest reads as zero
            std::memset(dst, 0, n);
            pos_ = n_;
            return;
        }
        std::memcpy(dst, p_ + pos_, n);
        pos_ += n;
    }
    const unsigned char* p_;
    std::size_t n_, pos_ = 0;
};

class ImageOut {
public:
    ImageOut(unsigned char* p, std::size_t n) : p_(p), n_(n) { std::memset(p, 0, n); }
    template <typename T>
    void put(const T& v) {
        static_assert(std::is_trivially_copyable_v<T>);
        give(&v, sizeof v);
    }
    template <typename T>
    void operator()(const T& v) {
        put(v);
    }
    template <std::size_t N>
    void text(const FixedText<N>& f) {
        give(f.data(), N);
    }
    // The first `bytes` bytes of the text; a wider field is padded with NUL.
    template <std::size_t N>
    void text(const FixedText<N>& f, std::size_t bytes) {
        give(f.data(), bytes < N ? bytes : N);
        if (bytes > N) gap(bytes - N);
    }
    void raw(const void* src, std::size_t n) { give(src, n); }
    // Bytes left as zero (the image starts cleared).
    void gap(std::size_t n) { pos_ += n <= n_ - pos_ ? n : n_ - pos_; }
    std::size_t pos() const { return pos_; }

private:
    void give(const void* src, std::size_t n) {
        if (n > n_ - pos_) n = n_ - pos_;
        std::memcpy(p_ + pos_, src, n);
        pos_ += n;
    }
    unsigned char* p_;
    std::size_t n_, pos_ = 0;
};

}  // namespace sondara
