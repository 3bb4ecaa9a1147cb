#pragma once
// Small builders of points, documents and data-file bytes for the tests.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "core/base/ByteIo.h"
#include "core/model/SondaraDoc.h"
#include "core/processing/ProcessingChain.h"

namespace sondara::test {

// A chainable builder of little-endian test bytes from field values.
struct Bytes {
    std::string s;
    Bytes& i16(int v);
    Bytes& i32(std::int32_t v);
    Bytes& f32(float v);
    Bytes& text(std::string_view t, std::size_t n);      // NUL-padded to n bytes
    Bytes& utf16(std::string_view utf8, std::size_t n);  // UTF-16LE (BMP only), NUL-padded
    Bytes& fill(std::size_t n, char c);
    Bytes& pattern(std::size_t n, char first);  // first, first+1, ... (26 letters)
};

// A point with every fixed field, array, lastParams field and mark set to values
// derived from `seed`, so that a lost or swapped field shows.
TestPoint fullPoint(int seed, const char* pileNo = "P1");
// A plain point with `n` samples (raw == processed) and the given pile number.
TestPoint simplePoint(const char* pileNo, int n = 16, float scale = 1.0f);
// simplePoint(pileNo, 2) grown to `n` samples amplitude * sin(i / period) (raw ==
// processed), with recordedLength n.
TestPoint sinePoint(const char* pileNo, int n, double amplitude, double period);
// One point of 1024 zero samples at 20 us, head 100, toe 500, 4000 m/s, 16 m.
TestPoint pilePoint();
// A document holding `pts` as current and original set, header filled.
CSondaraDoc makeDoc(std::vector<TestPoint> pts);
// The bytes of a whole file: header tag and count as given, then the records.
std::string fileBytes(const char* tag, int declaredCount, const std::vector<TestPoint>& pts,
                      bool withOriginal = true);

// A processing command as the program runs it (no dialog: the step as built); true
// when it was committed.
bool process(CSondaraDoc& d, std::vector<int> targets, ProcessKind kind,
             ChainEdit edit = ChainEdit::NewOperation, int index = -1);

}  // namespace sondara::test

namespace sondara {
// Short descriptions for gtest failure messages instead of byte dumps.
void PrintTo(const TestPoint& p, std::ostream* os);
void PrintTo(const ProcessStep& s, std::ostream* os);
}  // namespace sondara
