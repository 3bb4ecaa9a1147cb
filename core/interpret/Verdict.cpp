#include "core/interpret/Verdict.h"

#include <algorithm>
#include <cmath>

#include "core/base/TrNoop.h"

namespace sondara::interp {

int classOf(double minBeta) {
    return minBeta >= 0.9 ? 1 : minBeta >= 0.8 ? 2 : minBeta >= 0.6 ? 3 : 4;
}

const char* uncertaintyOf(const Evidence& e) {
    if (e.noiseOnly) return SONDARA_TR_NOOP("sondara", "数据异常");
    if (e.clipped) return SONDARA_TR_NOOP("sondara", "波形削顶");
    if (e.speedOrLengthBad) return SONDARA_TR_NOOP("sondara", "波速或桩长不合理");
    if (!e.toeFound && !e.breakShows) return SONDARA_TR_NOOP("sondara", "未找到桩底反射");
    if (e.allImpossible || e.gapOtherClass <= kAlternativeMargin || e.nearToe)
        return SONDARA_TR_NOOP("sondara", "多种解释");
    bool onBorder = false;
    if (e.minBeta < 1.0)
        for (double border : {0.9, 0.8, 0.6})
            onBorder = onBorder || std::fabs(e.minBeta - border) < kBorderMargin;
    // A thin narrowing's beta trades against its thickness; one close to the blow may be
    // the blow's own tail: the class either sets is not sure (a clear break excepted).
    const bool decisiveUnsure =
        e.minBeta < 0.9 && (e.decisiveNearHead || (e.decisiveThin && e.minBeta >= kClearBreak));
    if (onBorder || decisiveUnsure) return SONDARA_TR_NOOP("sondara", "类别临界");
    if (e.residual > kGoodFit || e.strained ||
        e.unexplained > kUnexplainedEcho * std::max(e.noise, kNoiseFloor))
        return SONDARA_TR_NOOP("sondara", "拟合较差");
    if (e.noise > kMaxNoise) return SONDARA_TR_NOOP("sondara", "噪声较大");
    return nullptr;
}

}  // namespace sondara::interp
