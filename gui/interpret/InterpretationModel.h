#pragma once
// The rows of the 判读结果 panel: one automatic interpretation per point, shown in a
// sortable order. Texts are made when a cell is asked for, so that a site of
// thousands of points costs nothing per row until it is seen. Besides the results the
// model keeps what the engineer did with them: the competing reading chosen for a
// point (to compare, and to adopt instead) and the rows already adopted.
#include <QAbstractTableModel>
#include <functional>
#include <vector>

#include "core/interpret/Interpretation.h"

namespace sondara::gui {

class InterpretationModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Pile,
        Point,
        Adopted,
        ToeDepth,
        Defects,
        Class,
        Confidence,
        Reason,
        LengthRemark,
        Residual,
        ColumnCount
    };
    // An adopted row took the chosen reading, or the competing reading of this index.
    static constexpr int kNotAdopted = -2;
    static constexpr int kChosenReading = -1;

    explicit InterpretationModel(QObject* parent = nullptr);

    // Where the pile numbers come from (the open document, or null).
    void setDocumentSource(std::function<const CSondaraDoc*()> f) { doc_ = std::move(f); }
    // New results, shown in the current sort order; no row adopted, no alternative chosen.
    void setResults(std::vector<PointInterpretation> results);
    const std::vector<PointInterpretation>& results() const { return results_; }
    // The result shown in `row`.
    const PointInterpretation* resultAt(int row) const;
    // The row showing document point `point`, -1 for none.
    int rowOfPoint(int point) const;

    // The competing reading chosen in `row` (kChosenReading: none).
    int chosenAlternative(int row) const;
    // Chooses alternative `k` of the row's result (kChosenReading: back to the chosen one).
    void setChosenAlternative(int row, int k);
    // What adopting `row` writes: the chosen reading, or the competing one chosen.
    PointInterpretation readingToAdopt(int row) const;
    // Marks the row of `point` adopted with reading `alternative` (kChosenReading or an index).
    void markAdopted(int point, int alternative);
    // kNotAdopted, kChosenReading, or the index of the competing reading adopted.
    int adoptedReading(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The texts of a row's cells (the tests read them too).
    static QString defectsText(const std::vector<ProposedDefect>& defects);
    static QString defectsText(const PointInterpretation& r);
    static QString classText(int integrityClass);
    static QString confidenceText(const PointInterpretation& r);
    // The toe's depth; a toe without its echo still shows the depth proposed for it.
    static QString depthText(double depth);
    static QString toeText(bool found, double depth);
    // One competing reading in a line: class, toe, changes, evidence gap, its name.
    static QString alternativeText(const InterpretationAlternative& a);
    // The row's tooltip: why it is uncertain and the readings it hesitated between.
    static QString toolTip(const PointInterpretation& r);
    // Pile numbers in the order a person counts them: A2 before A10, 1-9 before 1-10.
    static int naturalCompare(const QString& a, const QString& b);

private:
    void applyOrder();
    QString pileText(const PointInterpretation& r) const;

    std::function<const CSondaraDoc*()> doc_;
    std::vector<PointInterpretation> results_;
    std::vector<int> chosen_;   // per result: kChosenReading or an alternative's index
    std::vector<int> adopted_;  // per result: kNotAdopted, kChosenReading or an index
    std::vector<int> order_;    // row -> index into results_
    int sortColumn_ = Confidence;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace sondara::gui
