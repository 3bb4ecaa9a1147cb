#pragma once
// A virtual parallel-port cable: 16 shared bytes (a file mapped by both programs, or
// plain memory inside one process) that stand for the wires between the PC and an
// instrument.
//
//   byte 0  the PC's data register         byte 2  the instrument's data register
//   byte 1  the PC's control register      byte 3  the plug: 0 plugged, else pulled
//
// The cable crosses the lines as the real one does: the PC's status register reads
// (byte2 & 0x1F) << 3 and the instrument's reads (byte0 & 0x1F) << 3. With the cable
// pulled both sides read 0 and their writes reach nobody. Every byte is read and
// written atomically, so the two sides may live in different processes.
//
//   bytes 4..7   count of the PC's status reads (32-bit, little-endian, wrapping)
//   bytes 8..11  count of the PC's data writes
//   bytes 12..15 count of the instrument's status reads
//
// An instrument may use the PC's counts to know that the PC has seen a change of its
// handshake line, or has written its data register, however briefly a value stood
// there: the PC's process may be held up by the machine at any moment.
//
// A real instrument is never held up, and a real PC hardly ever for long; two
// programs on a busy machine are, for tens or hundreds of milliseconds. Each end
// therefore watches the other's read count (PeerWatch): while it stands still, the
// other end is not running, and a wait does not spend its bound on that time.
//
// A cable file may be cut short under the program (by the other end, a user, a
// cleaner of the temp folder). A mapping touched past the end of its file would kill
// the process, so the file's size is checked before each use; once it is short the
// cable counts as cut for good: every read sees a pulled plug and nothing is written.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "core/instrument/PortIo.h"

namespace sondara {

class VirtualCable {
public:
    static constexpr std::size_t kBytes = 16;
    enum Byte { PcData = 0, PcControl = 1, InstrumentData = 2, Plug = 3 };

    // Maps the cable file, creating it (16 zero bytes: plugged, all lines low) when it
    // is missing or shorter. A symbolic link in its place is not followed, and only a
    // regular file is taken. Null with `error` set when it cannot be mapped.
    static std::shared_ptr<VirtualCable> open(const std::string& path,
                                              std::string* error = nullptr);
    // A cable inside this process (tests, demonstrations).
    static std::shared_ptr<VirtualCable> inMemory();

    ~VirtualCable();
    VirtualCable(const VirtualCable&) = delete;
    VirtualCable& operator=(const VirtualCable&) = delete;

    std::uint8_t load(Byte b) const {
        if (!intact()) return b == Plug ? 1 : 0;
        return std::atomic_ref<std::uint8_t>(bytes_[b]).load(std::memory_order_acquire);
    }
    void store(Byte b, std::uint8_t v) {
        if (!intact()) return;
        std::atomic_ref<std::uint8_t>(bytes_[b]).store(v, std::memory_order_release);
    }
    bool plugged() const { return load(Plug) == 0; }
    std::uint32_t pcReads() const {
        return intact() ? counter(4).load(std::memory_order_seq_cst) : 0;
    }
    std::uint32_t pcWrites() const {
        return intact() ? counter(8).load(std::memory_order_seq_cst) : 0;
    }
    void setPlugged(bool on) { store(Plug, on ? 0 : 1); }
    const std::string& path() const { return path_; }
    // False once the cable file was found shorter than the cable (then for good).
    bool intact() const;

private:
    friend class VirtualPortIo;  // one size check per register access, then the raw bytes
    VirtualCable() = default;
    std::uint8_t rawLoad(Byte b) const {
        return std::atomic_ref<std::uint8_t>(bytes_[b]).load(std::memory_order_acquire);
    }
    void rawStore(Byte b, std::uint8_t v) {
        std::atomic_ref<std::uint8_t>(bytes_[b]).store(v, std::memory_order_release);
    }
    std::atomic_ref<std::uint32_t> counter(std::size_t at) const {
        return std::atomic_ref<std::uint32_t>(*reinterpret_cast<std::uint32_t*>(bytes_ + at));
    }
    std::uint8_t* bytes_ = nullptr;
    alignas(8) std::uint8_t memory_[kBytes] = {};
    void* mapping_ = nullptr;
    int fd_ = -1;  // the cable file, kept open to check its size
    mutable std::atomic<bool> cut_{false};
    std::string path_;
};

// Tells, from the other end's read count, whether the other end of a virtual cable is
// held up by the machine: the count has stood still for a few milliseconds, while a
// running end reads its status at least every fraction of a millisecond. An end that
// stands still for longer than kHeldAtMost is taken as gone (exited, killed), so that
// waits on a gone end still end.
class PeerWatch {
public:
    static constexpr std::chrono::milliseconds kHeldAfter{5};
    static constexpr std::chrono::milliseconds kHeldAtMost{3000};
    bool held(std::uint32_t count, std::chrono::steady_clock::time_point now) {
        if (!known_ || count != count_) {
            known_ = true;
            count_ = count;
            movedAt_ = now;
            return false;
        }
        const auto still = now - movedAt_;
        return still >= kHeldAfter && still <= kHeldAtMost;
    }
    void forget() { known_ = false; }

private:
    bool known_ = false;
    std::uint32_t count_ = 0;
    std::chrono::steady_clock::time_point movedAt_{};
};

// Nanoseconds each register access of the virtual port takes, as a real port access
// does (so that the counted waits last about as long as on real hardware).
inline constexpr long kVirtualAccessNs = 1000;

// One end of a virtual cable seen as a parallel port.
class VirtualPortIo : public PortIo {
public:
    enum class Side { Pc, Instrument };
    VirtualPortIo(std::shared_ptr<VirtualCable> cable, Side side, long accessNs = kVirtualAccessNs,
                  std::string name = {});

    std::uint8_t readStatus() override;
    void writeData(std::uint8_t value) override;
    void writeControl(std::uint8_t value) override;
    std::string name() const override { return name_; }
    // Empty while the cable is whole; one line once its file was cut short.
    std::string openError() const override;
    // On the PC's side: true while the instrument's end is held up (see PeerWatch);
    // gives the processor away for a moment, so the instrument can run.
    bool peerHeld() override;
    VirtualCable& cable() { return *cable_; }

private:
    // Waits out the rest of one register access begun at `start`.
    void pause(std::chrono::steady_clock::time_point start) const;
    std::shared_ptr<VirtualCable> cable_;
    Side side_;
    long accessNs_;
    std::string name_;
    std::uint8_t lastStatus_ = 0;
    unsigned sameReads_ = 0;
    PeerWatch peer_;
    std::uint32_t instrumentReads_ = 0;  // as the PC's last status read saw it
};

}  // namespace sondara
