#pragma once
// The 判读结果 panel: the automatic interpretation of every point that was run, a
// line on the site's wave speed, the competing readings of the current row (one can
// be chosen to compare it with the chosen reading and to adopt it instead), and the
// two commands that write proposals into the project. It never changes the document
// itself: it reports through its signals.
#include <QWidget>
#include <vector>

#include "core/interpret/Interpretation.h"

class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;

namespace sondara::gui {

class InterpretationModel;

class InterpretationPanel : public QWidget {
    Q_OBJECT
public:
    explicit InterpretationPanel(QWidget* parent = nullptr);

    InterpretationModel* model() const { return model_; }
    QTableView* table() const { return table_; }
    QPushButton* adoptButton() const { return adopt_; }
    QPushButton* adoptAllButton() const { return adoptAll_; }
    QLabel* summary() const { return summary_; }
    QComboBox* alternativesBox() const { return alternatives_; }

    // Shows new results (uncertain points first) and the site wave speed.
    void setResults(std::vector<PointInterpretation> results, const SiteWaveSpeed& site);
    void clear();
    // What adopting the selected rows writes: each row's chosen reading, or the
    // competing reading chosen for it.
    std::vector<PointInterpretation> selectedResults() const;
    // For each of selectedResults(): the competing reading taken (kChosenReading: none).
    std::vector<int> selectedAlternatives() const;
    // Chooses competing reading `k` of the current row, as the box below the table does
    // (InterpretationModel::kChosenReading: back to the chosen reading).
    void chooseAlternative(int k);
    // The table's context menu for the current row: its readings to choose from, and 采用.
    QMenu* rowMenu(QWidget* parent);
    // Marks the row of `point` current without reporting it (the document's selection
    // moved elsewhere).
    void showPoint(int point);

signals:
    void pointSelected(int point);
    // `alternatives[i]`: the competing reading that rows[i] is (kChosenReading: none).
    void adoptRequested(const std::vector<sondara::PointInterpretation>& rows,
                        const std::vector<int>& alternatives);
    void adoptAllRequested();
    // The competing reading `k` of `point` was chosen (kChosenReading: none any more).
    void alternativeChosen(int point, int k);

private:
    void updateButtons();
    void fillAlternatives();

    InterpretationModel* model_;
    QTableView* table_;
    QLabel* summary_;
    QPushButton* adopt_;
    QPushButton* adoptAll_;
    QComboBox* alternatives_;
    bool following_ = false;
    bool filling_ = false;
};

}  // namespace sondara::gui
