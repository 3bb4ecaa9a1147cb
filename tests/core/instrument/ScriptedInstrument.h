#pragma once
// A PC-side port whose other end is an instrument simulated step by step inside the
// register accesses: no thread, no clock. It decodes the PC's nibbles into frames,
// hands each frame to a script and puts the script's answers on the lines. Every byte
// the PC writes to the data register is recorded.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/instrument/PortIo.h"

namespace sondara::test {

inline std::vector<std::uint8_t> frameBytes(const std::string& payload, int lengthCopy = -1) {
    const int n = static_cast<int>(payload.size());
    const int m = lengthCopy < 0 ? n : lengthCopy;
    std::vector<std::uint8_t> out(4 + payload.size());
    out[0] = std::uint8_t(n & 0xFF);
    out[1] = std::uint8_t(n >> 8);
    out[2] = std::uint8_t(m & 0xFF);
    out[3] = std::uint8_t(m >> 8);
    std::copy(payload.begin(), payload.end(), out.begin() + 4);
    return out;
}

class ScriptedInstrument : public PortIo {
public:
    // Gets each frame the PC sent (as text) and returns the raw bytes to answer with.
    std::function<std::vector<std::uint8_t>(const std::string&)> script = [](const std::string&) {
        return std::vector<std::uint8_t>{};
    };
    bool plugged = true;
    std::vector<std::uint8_t> dataWrites;  // every value written to the data register
    std::vector<std::string> received;     // frames received from the PC
    long statusReads = 0;

    void queue(const std::vector<std::uint8_t>& bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }

    std::uint8_t readStatus() override {
        ++statusReads;
        if (!plugged) return 0;
        if (ackPending_) {
            ackPending_ = false;
            return 0x80;
        }
        if (!out_.empty()) {
            const std::uint8_t b = out_.front();
            return sendHigh_ ? std::uint8_t(0x80 | ((b >> 4) << 3)) : std::uint8_t((b & 0x0F) << 3);
        }
        return wantHigh_ ? 0x00 : 0x80;
    }
    void writeData(std::uint8_t v) override {
        dataWrites.push_back(v);
        if (!plugged) return;
        if (!out_.empty()) {  // the PC takes our bytes
            if (v & 0x10) {
                if (!sendHigh_) sendHigh_ = true;
            } else if (sendHigh_) {
                sendHigh_ = false;
                out_.pop_front();
            }
            return;
        }
        if (!wantHigh_ && (v & 0x10)) {
            low_ = v & 0x0F;
            wantHigh_ = true;
        } else if (wantHigh_ && !(v & 0x10)) {
            wantHigh_ = false;
            in_.push_back(static_cast<std::uint8_t>(low_ | ((v & 0x0F) << 4)));
            takeFrame();
        }
    }
    void writeControl(std::uint8_t) override {}
    std::string name() const override { return "scripted"; }

private:
    void takeFrame() {
        if (in_.size() < 4) return;
        const int n = in_[0] | (in_[1] << 8);
        if (in_.size() < static_cast<std::size_t>(4 + n)) return;
        std::string text(in_.begin() + 4, in_.begin() + 4 + n);
        in_.clear();
        received.push_back(text);
        ackPending_ = true;
        queue(script(text));
    }
    std::deque<std::uint8_t> out_;
    std::vector<std::uint8_t> in_;
    bool wantHigh_ = false, sendHigh_ = false, ackPending_ = false;
    int low_ = 0;
};

}  // namespace sondara::test
