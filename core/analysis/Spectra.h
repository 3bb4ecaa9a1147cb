#pragma once
// The five spectra of the frequency-domain analysis. Each reads `count` samples and
// writes `count` values (bin k = 0 .. count-1 of an N-point transform, N the
// transform length of `count`, see TransformLength); bins at or beyond N (traces
// longer than 131072 samples) are 0. The output may be the input array itself.
// Every routine returns 1, or 0 without writing when count <= 0. Stateless; safe to
// call from any thread.
namespace sondara {

enum class SpectrumKind : int {
    Amplitude = 0,    // "幅值谱"
    AutoPower = 1,    // "自功率谱"
    CrossPower = 2,   // "互功率谱"
    Cepstrum = 3,     // "倒频谱"
    LogSpectrum = 4,  // "对数谱"
};

// Powers below this floor (mV^2) are taken as the floor before a logarithm, so that
// a silent bin gives a finite, very low value instead of -infinity.
inline constexpr double kMinSpectrumPower = 1e-20;

// 2 |X_k| / N
int AmplitudeSpectrum(const float* in, float* out, int count);
// 4 |X_k|^2 / N^2
int AutoPowerSpectrum(const float* in, float* out, int count);
// 4 Re(A_k conj(B_k)) / N^2, both transformed with the N of `count`. The second trace
// holds countB samples (countB < 0: count); samples missing from it count as zero.
int CrossPowerSpectrum(const float* a, const float* b, float* out, int count, int countB = -1);
// |IFFT(log10(4 |X_k|^2 / N^2))|, the logarithms of bins count .. N-1 taken as zero.
int CepstrumSpectrum(const float* in, float* out, int count);
// 20 log10(2 |X_k|^2 / N * 32.768)  (dB)
int LogPowerSpectrum(const float* in, float* out, int count);

// The single-trace spectra by kind (CrossPower is not one of them: returns 0).
int ComputeSpectrum(SpectrumKind kind, const float* in, float* out, int count);

}  // namespace sondara
