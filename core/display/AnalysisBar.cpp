#include "core/display/AnalysisBar.h"

#include "core/analysis/WaveletTables.h"
#include "core/app/RunLog.h"
#include "core/base/TextCodec.h"
#include "core/base/TrNoop.h"
#include "core/display/PaneTexts.h"

namespace sondara {

namespace {

using C = AnalysisChoices;

std::array<int, 5> g_lastLogged{-2, -2, -2, -2, -2};

const char* kTypeNames[] = {
    SONDARA_TR_NOOP("sondara", "完整性分析"), SONDARA_TR_NOOP("sondara", "时域分析"),
    SONDARA_TR_NOOP("sondara", "频域分析"), SONDARA_TR_NOOP("sondara", "小波分析")};
const char* kTypeTips[] = {SONDARA_TR_NOOP("sondara", "分析桩身完整性"),
                           SONDARA_TR_NOOP("sondara", "在时间域对波形进行分析"),
                           SONDARA_TR_NOOP("sondara", "在频率域对波形进行分析"),
                           SONDARA_TR_NOOP("sondara", "对波形进行小波分析")};
const char* kIntegritySets[] = {
    SONDARA_TR_NOOP("sondara", "单道分析"), SONDARA_TR_NOOP("sondara", "多道分析"),
    SONDARA_TR_NOOP("sondara", "所选桩"),   SONDARA_TR_NOOP("sondara", "选中测点"),
    SONDARA_TR_NOOP("sondara", "所有测点"), SONDARA_TR_NOOP("sondara", "波列显示")};
const char* kIntegrityTips[] = {SONDARA_TR_NOOP("sondara", "框选方式选中的单个测点"),
                                SONDARA_TR_NOOP("sondara", "框选方式选中测点附近的多个测点"),
                                SONDARA_TR_NOOP("sondara", "框选方式选中桩内包含的所有测点"),
                                SONDARA_TR_NOOP("sondara", "勾选方式(√)选中的测点"),
                                SONDARA_TR_NOOP("sondara", "所有的测点"),
                                SONDARA_TR_NOOP("sondara", "所有测点的波列图")};
const char* kFrequencySets[] = {
    SONDARA_TR_NOOP("sondara", "单道分析"), SONDARA_TR_NOOP("sondara", "所选桩"),
    SONDARA_TR_NOOP("sondara", "选中测点"), SONDARA_TR_NOOP("sondara", "所有测点")};
const char* kFrequencyTips[] = {SONDARA_TR_NOOP("sondara", "框选方式选中的单个测点"),
                                SONDARA_TR_NOOP("sondara", "框选方式选中桩内包含的所有测点"),
                                SONDARA_TR_NOOP("sondara", "勾选方式(√)选中的测点"),
                                SONDARA_TR_NOOP("sondara", "所有的测点")};
const char* kTimeSubs[] = {SONDARA_TR_NOOP("sondara", "平均值"),
                           SONDARA_TR_NOOP("sondara", "自相关"),
                           SONDARA_TR_NOOP("sondara", "互相关")};
const char* kTimeSubTips[] = {SONDARA_TR_NOOP("sondara", "多道波形平均"),
                              SONDARA_TR_NOOP("sondara", "单道自相关"),
                              SONDARA_TR_NOOP("sondara", "两道互相关")};
const char* kScopes[] = {SONDARA_TR_NOOP("sondara", "所选桩"),
                         SONDARA_TR_NOOP("sondara", "选中测点"),
                         SONDARA_TR_NOOP("sondara", "所有测点")};
const char* kScopeTips[] = {SONDARA_TR_NOOP("sondara", "框选方式选中的桩内包含的所有测点"),
                            SONDARA_TR_NOOP("sondara", "勾选方式(√)选中的测点"),
                            SONDARA_TR_NOOP("sondara", "所有的测点")};
const char* kSpectra[] = {
    SONDARA_TR_NOOP("sondara", "幅值谱"), SONDARA_TR_NOOP("sondara", "自功率谱"),
    SONDARA_TR_NOOP("sondara", "互功率谱"), SONDARA_TR_NOOP("sondara", "倒频谱"),
    SONDARA_TR_NOOP("sondara", "对数谱")};
const char* kSpectrumTips[] = {
    SONDARA_TR_NOOP("sondara", "幅值谱分析"), SONDARA_TR_NOOP("sondara", "自功率谱分析"),
    SONDARA_TR_NOOP("sondara", "互功率谱分析"), SONDARA_TR_NOOP("sondara", "倒频谱分析"),
    SONDARA_TR_NOOP("sondara", "对数谱分析")};

template <size_t N>
BarComboState list(const char* (&items)[N], int selected, const char* const* tips = nullptr,
                   bool twoLineTips = false) {
    BarComboState s;
    s.visible = true;
    for (size_t i = 0; i < N; ++i) {
        s.items.emplace_back(items[i]);
        if (tips)
            s.tooltips.push_back(twoLineTips ? std::string(SONDARA_TR_NOOP("sondara", "测点栏中")) +
                                                   "\n" + tips[i]
                                             : tips[i]);
    }
    s.selected = selected >= 0 && selected < static_cast<int>(N) ? selected : -1;
    return s;
}

BarComboState pointList(const CSondaraDoc& doc, int selected) {
    BarComboState s;
    s.visible = true;
    s.items.reserve(static_cast<size_t>(doc.pointCount()));
    for (int i = 0; i < doc.pointCount(); ++i)
        s.items.push_back(
            Format("[%d] %s", i + 1,
                   gbkToUtf8(textOf(doc.points[static_cast<size_t>(i)].pileNo)).c_str()));
    s.selected = selected >= 0 && selected < doc.pointCount() ? selected : -1;
    return s;
}

void resetIf(std::int32_t& v, bool outOfRange) {
    if (outOfRange) v = 0;
}

}  // namespace

std::string BarComboState::text() const {
    return selected >= 0 && selected < static_cast<int>(items.size())
               ? items[static_cast<size_t>(selected)]
               : std::string();
}

SettingsFile analysisChoicesFile() {
    return {"MIR_QAR4_SELT_001.ini", "MIR_QAR4_SELT_001"};
}

bool saveSettings(const AnalysisChoices& c, Prompter* p) {
    return analysisChoicesFile().write(
        [&](ByteWriter& w) {
            for (std::int32_t v : c.values) w.i32(v);
        },
        p);
}

bool loadOrWriteDefaults(AnalysisChoices& c, Prompter* p) {
    c = AnalysisChoices{};
    const bool found = analysisChoicesFile().read([&](ByteReader& r) {
        for (std::int32_t& v : c.values) {
            const std::int32_t x = r.i32();
            if (!r.ok()) return;
            v = x;
        }
    });
    if (!found) saveSettings(c, p);
    return found;
}

AnalysisBar::AnalysisBar() : log([](const std::string& s) { logLine(s); }) {}

void AnalysisBar::forgetLoggedSelection() {
    g_lastLogged = {-2, -2, -2, -2, -2};
}

int ChoiceServedBy(BarCombo combo, const AnalysisChoices& c) {
    const auto type = static_cast<AnalysisDomain>(c[C::AnalysisType]);
    const bool crossCorr = c[C::TimeSub] == static_cast<int>(TimeAnalysisKind::CrossCorrelation);
    const bool crossPower = c[C::SpectrumKindChoice] == 2;
    switch (combo) {
        case BarCombo::AnalysisType:
            return C::AnalysisType;
        case BarCombo::DisplaySet:
            if (type == AnalysisDomain::Integrity) return C::IntegritySet;
            if (type == AnalysisDomain::Frequency && !crossPower) return C::FrequencySet;
            return -1;
        case BarCombo::SubAnalysis:
            if (type == AnalysisDomain::TimeAnalysis) return C::TimeSub;
            if (type == AnalysisDomain::Frequency) return C::SpectrumKindChoice;
            if (type == AnalysisDomain::Wavelet) return C::WaveletFamilyChoice;
            return -1;
        case BarCombo::FirstChoice:
            if (type == AnalysisDomain::TimeAnalysis) {
                switch (static_cast<TimeAnalysisKind>(c[C::TimeSub])) {
                    case TimeAnalysisKind::Average:
                        return C::AverageScopeChoice;
                    case TimeAnalysisKind::AutoCorrelation:
                        return C::AutoCorrPoint;
                    case TimeAnalysisKind::CrossCorrelation:
                        return C::CrossCorrFirst;
                }
                return -1;
            }
            if (type == AnalysisDomain::Frequency) return crossPower ? C::CrossPowerFirst : -1;
            if (type == AnalysisDomain::Wavelet) return C::WaveletMember;
            return -1;
        case BarCombo::SecondChoice:
            if (type == AnalysisDomain::TimeAnalysis) return crossCorr ? C::CrossCorrSecond : -1;
            if (type == AnalysisDomain::Frequency) return crossPower ? C::CrossPowerSecond : -1;
            if (type == AnalysisDomain::Wavelet) return C::WaveletLevels;
            return -1;
    }
    return -1;
}

void AnalysisBar::buildLists(const CSondaraDoc& doc) {
    AnalysisChoices& c = choices;
    const int n = doc.pointCount();
    // A choice no list can show (a foreign or damaged settings file) starts over at the
    // first entry, as the point and wavelet choices do.
    resetIf(c[C::AnalysisType], c[C::AnalysisType] < 0 || c[C::AnalysisType] > 3);
    resetIf(c[C::AutoCorrPoint], c[C::AutoCorrPoint] >= n || c[C::AutoCorrPoint] < 0);
    if (c[C::CrossCorrFirst] >= n || c[C::CrossCorrSecond] >= n || c[C::CrossCorrFirst] < 0 ||
        c[C::CrossCorrSecond] < 0)
        c[C::CrossCorrFirst] = c[C::CrossCorrSecond] = 0;
    if (c[C::CrossPowerFirst] >= n || c[C::CrossPowerSecond] >= n || c[C::CrossPowerFirst] < 0 ||
        c[C::CrossPowerSecond] < 0)
        c[C::CrossPowerFirst] = c[C::CrossPowerSecond] = 0;
    resetIf(c[C::WaveletFamilyChoice],
            c[C::WaveletFamilyChoice] > 6 || c[C::WaveletFamilyChoice] < 0);
    const auto& families = WaveletFamilies();
    const auto& members = families[static_cast<size_t>(c[C::WaveletFamilyChoice])].members;
    resetIf(c[C::WaveletMember],
            c[C::WaveletMember] >= static_cast<int>(members.size()) || c[C::WaveletMember] < 0);
    resetIf(c[C::WaveletLevels], c[C::WaveletLevels] > 8 || c[C::WaveletLevels] < 0);

    BarLayout L;
    L.type = list(kTypeNames, c[C::AnalysisType], kTypeTips);
    switch (static_cast<AnalysisDomain>(c[C::AnalysisType])) {
        case AnalysisDomain::Integrity:
            L.displaySet = list(kIntegritySets, c[C::IntegritySet], kIntegrityTips, true);
            L.firstCaption = SONDARA_TR_NOOP("sondara", "波速(m/s)");
            L.secondCaption = SONDARA_TR_NOOP("sondara", "桩长(m)");
            L.speedAndLengthShown = true;
            break;
        case AnalysisDomain::TimeAnalysis: {
            L.subCaption = SONDARA_TR_NOOP("sondara", "分析类型");
            L.sub = list(kTimeSubs, c[C::TimeSub], kTimeSubTips);
            switch (static_cast<TimeAnalysisKind>(c[C::TimeSub])) {
                case TimeAnalysisKind::Average:
                    L.firstCaption = SONDARA_TR_NOOP("sondara", "选择范围");
                    L.first = list(kScopes, c[C::AverageScopeChoice], kScopeTips, true);
                    break;
                case TimeAnalysisKind::AutoCorrelation:
                    L.firstCaption = SONDARA_TR_NOOP("sondara", "测点1");
                    L.first = pointList(doc, c[C::AutoCorrPoint]);
                    break;
                case TimeAnalysisKind::CrossCorrelation:
                    L.firstCaption = SONDARA_TR_NOOP("sondara", "测点1");
                    L.first = pointList(doc, c[C::CrossCorrFirst]);
                    L.secondCaption = SONDARA_TR_NOOP("sondara", "测点2");
                    L.second = pointList(doc, c[C::CrossCorrSecond]);
                    break;
            }
            break;
        }
        case AnalysisDomain::Frequency:
            L.sub = list(kSpectra, c[C::SpectrumKindChoice], kSpectrumTips);
            if (c[C::SpectrumKindChoice] == 2) {
                L.firstCaption = SONDARA_TR_NOOP("sondara", "测点1");
                L.first = pointList(doc, c[C::CrossPowerFirst]);
                L.secondCaption = SONDARA_TR_NOOP("sondara", "测点2");
                L.second = pointList(doc, c[C::CrossPowerSecond]);
            } else {
                L.displaySet = list(kFrequencySets, c[C::FrequencySet], kFrequencyTips, true);
            }
            break;
        case AnalysisDomain::Wavelet: {
            L.subCaption = SONDARA_TR_NOOP("sondara", "小波基");
            L.sub.visible = true;
            for (const WaveletFamily& f : families) L.sub.items.emplace_back(f.name);
            L.sub.selected = c[C::WaveletFamilyChoice];
            L.firstCaption = SONDARA_TR_NOOP("sondara", "小波大小");
            L.first.visible = true;
            for (const WaveletMember& m : members) L.first.items.emplace_back(m.name);
            L.first.selected =
                c[C::WaveletMember] < static_cast<int>(members.size()) ? c[C::WaveletMember] : -1;
            L.secondCaption = SONDARA_TR_NOOP("sondara", "小波级数");
            L.second.visible = true;
            for (int i = 1; i <= 9; ++i) L.second.items.push_back(Format("%d", i));
            L.second.selected = c[C::WaveletLevels];
            break;
        }
    }
    layout_ = std::move(L);
}

bool AnalysisBar::select(BarCombo combo, int index, const CSondaraDoc& doc) {
    const int served = ChoiceServedBy(combo, choices);
    if (served >= 0) choices.values[static_cast<size_t>(served)] = index;
    buildLists(doc);
    runLogCheck();
    return true;
}

std::array<int, 5> AnalysisBar::indices() const {
    return {layout_.type.selected, layout_.displaySet.selected, layout_.sub.selected,
            layout_.first.selected, layout_.second.selected};
}

bool AnalysisBar::runLogCheck() {
    const std::array<int, 5> now = indices();
    const bool changed = now != cached_;
    cached_ = now;
    if (now != g_lastLogged) {
        std::string line = "显示设置==>";
        const BarComboState* combos[] = {&layout_.type, &layout_.displaySet, &layout_.sub,
                                         &layout_.first, &layout_.second};
        for (const BarComboState* s : combos)
            line += Format("[%d,%s]", s->selected, s->text().c_str());
        if (log) log(line);
        g_lastLogged = now;
    }
    return changed;
}

AnalysisSelection AnalysisBar::selection() const {
    const std::array<int, 5> i = indices();
    AnalysisSelection s;
    s.domain = static_cast<AnalysisDomain>(i[0] < 0 ? 0 : i[0]);
    if (s.domain == AnalysisDomain::Integrity)
        s.displaySet = DisplaySetOfIntegrityIndex(i[1]);
    else
        s.displaySet =
            i[1] >= 0 && i[1] <= 5 ? static_cast<DisplaySet>(i[1]) : DisplaySet::SingleTrace;
    s.sub = i[2];
    s.first = i[3];
    s.second = i[4];
    return s;
}

}  // namespace sondara
