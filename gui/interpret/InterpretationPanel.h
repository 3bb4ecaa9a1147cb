#pragma once
// The 判读结果 panel: the automatic interpretation of every point that was run, a
// line on the site's wave speed, and the two commands that write proposals into the
// project. It never changes the document itself: it reports through its signals.
#include <QWidget>
#include <vector>

#include "core/interpret/Interpretation.h"

class QLabel;
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

    // Shows new results (uncertain points first) and the site wave speed.
    void setResults(std::vector<PointInterpretation> results, const SiteWaveSpeed& site);
    void clear();
    // The results of the selected rows.
    std::vector<PointInterpretation> selectedResults() const;
    // Marks the row of `point` current without reporting it (the document's selection
    // moved elsewhere).
    void showPoint(int point);

signals:
    void pointSelected(int point);
    void adoptRequested(const std::vector<sondara::PointInterpretation>& rows);
    void adoptAllRequested();

private:
    void updateButtons();

    InterpretationModel* model_;
    QTableView* table_;
    QLabel* summary_;
    QPushButton* adopt_;
    QPushButton* adoptAll_;
    bool following_ = false;
};

}  // namespace sondara::gui
