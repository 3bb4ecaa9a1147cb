#pragma once
// The wavelet filter banks offered by the analysis bar: seven families, compiled in
// (WaveletTables.cpp is written by tools/wavelets/gen_wavelets.py). The table is
// immutable static data; it may be read from any thread.
#include <span>

namespace sondara {

// One member of a family, named by its tap count(s) as shown to the user.
// lo and hi are the low- and high-pass analysis filters of `taps` values each,
// applied as a[i] = sum_j x[2i + j] * lo[j]. synthesisLo / synthesisHi are the
// filters that rebuild the signal; they are null for the orthogonal families, which
// rebuild with lo and hi themselves (see SynthesisLo / SynthesisHi).
struct WaveletMember {
    const char* name;
    int taps;
    const double* lo;
    const double* hi;
    const double* synthesisLo;
    const double* synthesisHi;
};

inline const double* SynthesisLo(const WaveletMember& m) {
    return m.synthesisLo ? m.synthesisLo : m.lo;
}
inline const double* SynthesisHi(const WaveletMember& m) {
    return m.synthesisHi ? m.synthesisHi : m.hi;
}

// One family of the table; its index in the table is the family value of the
// analysis selection, the member's index the member value.
struct WaveletFamily {
    const char* name;
    std::span<const WaveletMember> members;
};

using WaveletFamilyTable = std::span<const WaveletFamily>;

// Index of each family in the table.
enum WaveletFamilyIndex : int {
    kWaveletHaar = 0,
    kWaveletDaubechies = 1,
    kWaveletCoiflets = 2,
    kWaveletSymlets = 3,
    kWaveletDiscreteMeyer = 4,
    kWaveletBiorthogonal = 5,
    kWaveletReverseBiorthogonal = 6,
};

// The application's wavelet table: "Haar", "Daubechies", "Coiflets", "Symlets",
// "Discrete Meyer", "Biorthogonal", "Reverse Biorthogonal" (118 members in all).
const WaveletFamilyTable& WaveletFamilies();

// The member at (family, member), or null when either index is out of range.
inline const WaveletMember* FindWaveletMember(int family, int member) {
    const WaveletFamilyTable& t = WaveletFamilies();
    if (family < 0 || family >= static_cast<int>(t.size())) return nullptr;
    const auto& members = t[static_cast<size_t>(family)].members;
    if (member < 0 || member >= static_cast<int>(members.size())) return nullptr;
    return &members[static_cast<size_t>(member)];
}

}  // namespace sondara
