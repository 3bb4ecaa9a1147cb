#pragma once
// The analysis selection bar along the top of an analysis view: five combo boxes with
// their item icons and tooltips, three captions, the wave-speed and pile-length boxes
// and the 设置 button. It shows a BarLayout of the bar model (core AnalysisBar) and
// reports what the user chooses or enters; the view owns the model and the rules.
#include <QWidget>
#include <array>

#include "core/display/AnalysisBar.h"
#include "core/display/WaveDisplayModel.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace sondara::gui {

// What the wave speed and pile length boxes take (m/s, m).
inline constexpr int kMaxWaveSpeed = 32767;
inline constexpr double kMaxPileLength = 10000.0;

class AnalysisBarWidget : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisBarWidget(QWidget* parent = nullptr);

    // Fills and shows the controls for a layout; lists whose items did not change are
    // not filled again (a point list may hold thousands of entries).
    void showLayout(const BarLayout& layout);
    // The wave speed and pile length of the displayed points (integrity analysis).
    void showSpeedAndLength(const SpeedLengthView& v);

    QComboBox* combo(BarCombo c) const;
    QLabel* subCaption() const { return subCaption_; }         // 1020
    QLabel* firstCaption() const { return firstCaption_; }     // 1015
    QLabel* secondCaption() const { return secondCaption_; }   // 1016
    QLineEdit* speedEdit() const { return speed_; }            // 1012
    QLineEdit* lengthEdit() const { return length_; }          // 1013
    QPushButton* settingsButton() const { return settings_; }  // 1067

    static constexpr QRgb kGreyText = 0xFF808080;

signals:
    void comboSelected(sondara::BarCombo combo, int index);
    void speedEntered(const QString& text);
    void lengthEntered(const QString& text);

private:
    void fill(QComboBox* box, const BarComboState& s, int iconStrip);
    static void setTextGrey(QLineEdit* e, bool grey);

    std::array<QComboBox*, 5> combos_{};
    QLabel* subCaption_ = nullptr;
    QLabel* firstCaption_ = nullptr;
    QLabel* secondCaption_ = nullptr;
    QLineEdit* speed_ = nullptr;
    QLineEdit* length_ = nullptr;
    QPushButton* settings_ = nullptr;
    std::array<BarComboState, 5> shown_{};
    std::array<int, 5> strips_{0, 0, 0, 0, 0};
};

}  // namespace sondara::gui
