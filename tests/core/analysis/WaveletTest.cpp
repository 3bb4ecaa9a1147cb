#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/analysis/Wavelet.h"
#include "core/analysis/WaveletTables.h"
#include "support/TestSupport.h"

namespace sondara {
namespace {

std::vector<std::string> names(const WaveletFamily& f) {
    std::vector<std::string> out;
    for (const auto& m : f.members) out.push_back(m.name);
    return out;
}

std::vector<std::string> evenNames(int from, int to) {
    std::vector<std::string> out;
    for (int t = from; t <= to; t += 2) out.push_back(std::to_string(t));
    return out;
}

bool orthogonal(int family) {
    return family <= kWaveletDiscreteMeyer;
}

TEST(WaveletTable, FamiliesAndMemberNames) {
    const auto& t = WaveletFamilies();
    ASSERT_EQ(t.size(), 7u);
    const char* familyNames[] = {
        "Haar",         "Daubechies",          "Coiflets", "Symlets", "Discrete Meyer",
        "Biorthogonal", "Reverse Biorthogonal"};
    size_t total = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        EXPECT_STREQ(t[i].name, familyNames[i]);
        total += t[i].members.size();
    }
    EXPECT_EQ(total, 118u);

    EXPECT_EQ(names(t[0]), std::vector<std::string>{"2"});
    auto db = evenNames(2, 88);
    db.push_back("88");
    EXPECT_EQ(names(t[1]), db);
    EXPECT_EQ(names(t[2]), (std::vector<std::string>{"6", "12", "18", "24", "30"}));
    auto sym = evenNames(2, 40);
    for (const auto& s : evenNames(44, 74)) sym.push_back(s);
    EXPECT_EQ(names(t[3]), sym);
    EXPECT_EQ(names(t[4]), std::vector<std::string>{"62"});
    EXPECT_EQ(names(t[5]),
              (std::vector<std::string>{"2/2", "2/6", "2/10", "3/5", "3/9", "3/13", "3/17", "4/4",
                                        "4/7", "4/12", "4/16", "4/20", "7/9", "11/9", "11/17"}));
    EXPECT_EQ(names(t[6]),
              (std::vector<std::string>{"2/2", "6/2", "10/2", "5/3", "9/3", "13/3", "17/3", "4/4",
                                        "7/4", "12/4", "16/4", "4/20", "9/7", "9/11", "17/11"}));
    // Orthogonal members carry as many taps as their name says; the second "88"
    // Daubechies member is order 45.
    for (int f : {0, 1, 2, 3, 4})
        for (size_t i = 0; i < t[f].members.size(); ++i) {
            const auto& m = t[f].members[i];
            if (f == 1 && i == 44) continue;
            EXPECT_EQ(m.taps, std::stoi(m.name)) << t[f].name << " " << m.name;
        }
    EXPECT_EQ(t[1].members[44].taps, 90);
    EXPECT_EQ(FindWaveletMember(7, 0), nullptr);
    EXPECT_EQ(FindWaveletMember(0, 1), nullptr);
    EXPECT_EQ(FindWaveletMember(-1, 0), nullptr);
}

TEST(WaveletTable, HaarRow) {
    const WaveletMember& h = WaveletFamilies()[0].members[0];
    ASSERT_EQ(h.taps, 2);
    const double s = std::sqrt(0.5);
    EXPECT_DOUBLE_EQ(h.lo[0], s);
    EXPECT_DOUBLE_EQ(h.lo[1], s);
    EXPECT_DOUBLE_EQ(h.hi[0], -s);
    EXPECT_DOUBLE_EQ(h.hi[1], s);
}

// Sum sqrt 2 and unit energy for every low-pass filter; the high-pass filter has no
// DC gain; biorthogonal pairs have unit cross energy with their synthesis filter.
TEST(WaveletTable, FilterSumsAndEnergies) {
    const auto& t = WaveletFamilies();
    for (int f = 0; f < static_cast<int>(t.size()); ++f)
        for (const auto& m : t[f].members) {
            SCOPED_TRACE(std::string(t[f].name) + " " + m.name);
            ASSERT_EQ(m.taps % 2, 0);
            double sum = 0, hiSum = 0, energy = 0;
            for (int j = 0; j < m.taps; ++j) {
                sum += m.lo[j];
                hiSum += m.hi[j];
                energy += m.lo[j] * SynthesisLo(m)[j];
            }
            // The discrete Meyer filter is a truncated approximation; the 9/7 pair is
            // published to about twelve digits.
            const double tol = f == kWaveletDiscreteMeyer ? 5e-3 : 1e-11;
            EXPECT_NEAR(sum, std::sqrt(2.0), tol);
            EXPECT_NEAR(hiSum, 0.0, tol);
            EXPECT_NEAR(energy, 1.0, tol);
            EXPECT_EQ(m.synthesisLo == nullptr, orthogonal(f));
        }
}

TEST(WaveletTransform, OutputSizes) {
    // M = 1024: N = 1024, B = 2048; level 1 hands out 512 values, level 3 128.
    struct Row {
        int M, level, length, offset;
    };
    const Row rows[] = {{1024, 1, 512, 0},  {1024, 2, 256, 512}, {1024, 3, 128, 768},
                        {1024, 9, 2, 1020}, {1000, 1, 512, 0},   {1000, 3, 128, 768}};
    for (const Row& r : rows) {
        EXPECT_EQ(WaveletLevelLength(r.M, r.level), r.length) << r.M << " " << r.level;
        EXPECT_EQ(WaveletLevelOffset(r.M, r.level), r.offset) << r.M << " " << r.level;
    }
    EXPECT_EQ(WaveletCoefficientCount(1024, 3), 512 + 256 + 128);
    EXPECT_EQ(WaveletCoefficientCount(1000, 9), 1022);
    EXPECT_EQ(WaveletCoefficientCount(4, 9), 3);  // only levels with values count
    EXPECT_EQ(WaveletCoefficientCount(1, 9), 0);
}

// The placement and the kept halves, against the formula written out directly.
TEST(WaveletTransform, KeepsTheHalfAlignedWithTheTrace) {
    const int M = 1000, N = 1024, B = 2048, L = 2;
    const auto x = test::randomTrace(M, 3, 10.0f);
    const WaveletMember& w = WaveletFamilies()[kWaveletDaubechies].members[3];  // 8 taps
    std::vector<double> placed(B, 0.0);
    for (int i = 0; i < M; ++i) placed[N + i] = x[i];
    std::vector<float> rec(M), app(WaveletCoefficientCount(M, L)), det(app.size());
    ASSERT_TRUE(WaveletTransform(x.data(), M, rec.data(), app.data(), det.data(), 1, 3, L));
    std::vector<double> level = placed;
    int s = B;
    for (int k = 1; k <= L; ++k) {
        std::vector<double> a(s / 2), d(s / 2);
        for (int i = 0; i < s / 2; ++i)
            for (int j = 0; j < w.taps; ++j) {
                a[i] += level[(2 * i + j) % s] * w.lo[j];
                d[i] += level[(2 * i + j) % s] * w.hi[j];
            }
        s /= 2;
        const int off = WaveletLevelOffset(M, k);
        for (int i = 0; i < s / 2; ++i) {
            ASSERT_NEAR(app[off + i], a[s / 2 + i], 1e-4) << k << " " << i;
            ASSERT_NEAR(det[off + i], d[s / 2 + i], 1e-4) << k << " " << i;
        }
        level = a;
    }
}

TEST(WaveletTransform, HaarOnAConstantTrace) {
    for (int M : {1024, 1000}) {
        const std::vector<float> x(M, 2.5f);
        const int L = 9;
        std::vector<float> rec(M), app(WaveletCoefficientCount(M, L)), det(app.size());
        ASSERT_TRUE(WaveletTransform(x.data(), M, rec.data(), app.data(), det.data(), 0, 0, L));
        for (int i = 0; i < M; ++i) ASSERT_FLOAT_EQ(rec[i], 2.5f) << i;
        for (int k = 1; k <= L; ++k) {
            const int off = WaveletLevelOffset(M, k), span = 1 << k;
            // Coefficient i covers trace samples i*2^k .. (i+1)*2^k - 1.
            for (int i = 0; (i + 1) * span <= M; ++i) {
                ASSERT_NEAR(det[off + i], 0.0f, 1e-5) << "M=" << M << " level " << k;
                ASSERT_NEAR(app[off + i], 2.5 * std::pow(2.0, k / 2.0), 1e-4);
            }
        }
    }
}

// Every member gives the trace back, the biorthogonal ones through their synthesis
// pair; the discrete Meyer filter is a truncated approximation and only close.
TEST(WaveletTransform, ReconstructsTheTraceWithEveryMember) {
    const int M = 1000;
    const auto x = test::randomTrace(M, 21, 10.0f);
    const auto& t = WaveletFamilies();
    for (int f = 0; f < static_cast<int>(t.size()); ++f)
        for (int mi = 0; mi < static_cast<int>(t[f].members.size()); ++mi)
            for (int L : {1, 9}) {
                std::vector<float> rec(M), app(WaveletCoefficientCount(M, L)), det(app.size());
                ASSERT_TRUE(
                    WaveletTransform(x.data(), M, rec.data(), app.data(), det.data(), f, mi, L));
                double worst = 0;
                for (int i = 0; i < M; ++i)
                    worst = std::max(worst, double(std::fabs(rec[i] - x[i])));
                const double tol = f == kWaveletDiscreteMeyer ? 0.5 : 1e-4;
                EXPECT_LT(worst, tol) << t[f].name << " " << t[f].members[mi].name << " L=" << L;
            }
}

TEST(WaveletTransform, RefusesBadArguments) {
    std::vector<float> x(64, 1.0f), rec(64, 7.0f), app(64, 7.0f), det(64, 7.0f);
    const int bad[][4] = {{64, -1, 0, 3}, {64, 7, 0, 3}, {64, 0, 1, 3}, {64, 1, 45, 3},
                          {0, 1, 0, 3},   {64, 1, 0, 0}, {64, 1, 0, 10}};
    for (const auto& b : bad)
        EXPECT_FALSE(
            WaveletTransform(x.data(), b[0], rec.data(), app.data(), det.data(), b[1], b[2], b[3]));
    EXPECT_EQ(rec[0], 7.0f);
    EXPECT_EQ(app[0], 7.0f);
    // One sample has no level to hand out but still rebuilds.
    float one = 4.0f, r = 0.0f;
    EXPECT_TRUE(WaveletTransform(&one, 1, &r, nullptr, nullptr, 1, 2, 9));
    EXPECT_FLOAT_EQ(r, 4.0f);
}

}  // namespace
}  // namespace sondara
