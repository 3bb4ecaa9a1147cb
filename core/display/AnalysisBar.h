#pragma once
// The model of the analysis selection bar: the 14 kept choices and their settings
// file "MIR_QAR4_SELT_001.ini", the contents of the five combo boxes for the kept
// analysis type (with the resets of out-of-range choices), what a selection change
// stores, the run-log line "显示设置==>..." and the selection handed to the display.
// The dialog itself only shows a BarLayout and forwards selections.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/app/SettingsFile.h"
#include "core/display/AnalysisSelection.h"
#include "core/model/SondaraDoc.h"

namespace sondara {

class Prompter;

// The kept choices in the order of the settings record.
struct AnalysisChoices {
    enum Index : int {
        AnalysisType = 0,         // 0..3
        IntegritySet = 1,         // list index 0..5
        FrequencySet = 2,         // list index 0..3
        TimeSub = 3,              // 0 average, 1 autocorrelation, 2 cross-correlation
        SpectrumKindChoice = 4,   // 0..4
        WaveletFamilyChoice = 5,  // 0..6
        AverageScopeChoice = 6,   // 0 所选桩, 1 选中测点, 2 所有测点
        AutoCorrPoint = 7,
        CrossCorrFirst = 8,
        CrossPowerFirst = 9,
        WaveletMember = 10,
        CrossCorrSecond = 11,
        CrossPowerSecond = 12,
        WaveletLevels = 13,  // list index 0..8 (1..9 levels)
        Count = 14,
    };
    std::array<std::int32_t, Count> values{};

    std::int32_t& operator[](Index i) { return values[static_cast<size_t>(i)]; }
    std::int32_t operator[](Index i) const { return values[static_cast<size_t>(i)]; }
    bool operator==(const AnalysisChoices&) const = default;
};

SettingsFile analysisChoicesFile();
// Defaults (all 0) first, then the file; a missing or foreign file gets the defaults
// written back.
bool loadOrWriteDefaults(AnalysisChoices& c, Prompter* p);
bool saveSettings(const AnalysisChoices& c, Prompter* p);

// The five combo boxes of the bar, by control id.
enum class BarCombo : int {
    AnalysisType = 1010,
    DisplaySet = 1011,
    SubAnalysis = 1019,
    FirstChoice = 1017,
    SecondChoice = 1018,
};

struct BarComboState {
    bool visible = false;
    std::vector<std::string> items;     // UTF-8
    std::vector<std::string> tooltips;  // empty or one per item
    int selected = -1;                  // -1: nothing selected (hidden or empty list)
    std::string text() const;           // the selected item's text, "" for none
};

// What the bar shows for the kept analysis type. An empty caption is a hidden one.
struct BarLayout {
    BarComboState type, displaySet, sub, first, second;
    std::string subCaption;     // 1020: "分析类型" / "小波基"
    std::string firstCaption;   // 1015: "波速(m/s)", "选择范围", "测点1", "小波大小"
    std::string secondCaption;  // 1016: "桩长(m)", "测点2", "小波级数"
    bool speedAndLengthShown = false;  // 1012, 1013
};

class AnalysisBar {
public:
    AnalysisBar();

    AnalysisChoices choices;
    // Writes one run-log line; replaced by tests.
    std::function<void(const std::string&)> log;

    // Rebuilds the lists for the kept analysis type from the document's points,
    // resetting out-of-range choices first.
    void buildLists(const CSondaraDoc& doc);
    const BarLayout& layout() const { return layout_; }

    // A combo box selection changed: keeps it in the choice the combo serves for the
    // current type, rebuilds the lists and runs the run-log check. Returns true: the
    // view is to take the new selection.
    bool select(BarCombo combo, int index, const CSondaraDoc& doc);

    // Reads the five selection indices, remembers whether any differs from the cached
    // ones and caches them; when they differ from the five last written to the run log
    // (process-wide) writes "显示设置==>[i,text]..." once. Returns whether a selection
    // changed.
    bool runLogCheck();
    // The five selection indices in the order 1010, 1011, 1019, 1017, 1018.
    std::array<int, 5> indices() const;
    // The selection the view hands to the display: in integrity analysis the display
    // set mapped from the list order, elsewhere the raw index.
    AnalysisSelection selection() const;

    // Forgets the process-wide last logged selection (a new run).
    static void forgetLoggedSelection();

private:
    BarLayout layout_;
    std::array<int, 5> cached_{-2, -2, -2, -2, -2};
};

// Choice index a combo's selection is stored in for the given type and choices, or -1
// when the combo serves no choice there.
int ChoiceServedBy(BarCombo combo, const AnalysisChoices& c);

}  // namespace sondara
