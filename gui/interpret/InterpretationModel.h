#pragma once
// The rows of the 判读结果 panel: one automatic interpretation per point, shown in a
// sortable order. Texts are made when a cell is asked for, so that a site of
// thousands of points costs nothing per row until it is seen.
#include <QAbstractTableModel>
#include <functional>
#include <vector>

#include "core/interpret/Interpretation.h"

namespace sondara::gui {

class InterpretationModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Pile, Point, ToeDepth, Defects, Class, Confidence, Residual, ColumnCount };

    explicit InterpretationModel(QObject* parent = nullptr);

    // Where the pile numbers come from (the open document, or null).
    void setDocumentSource(std::function<const CSondaraDoc*()> f) { doc_ = std::move(f); }
    // New results, shown in the current sort order.
    void setResults(std::vector<PointInterpretation> results);
    const std::vector<PointInterpretation>& results() const { return results_; }
    // The result shown in `row`.
    const PointInterpretation* resultAt(int row) const;
    // The row showing document point `point`, -1 for none.
    int rowOfPoint(int point) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The texts of a row's cells (the tests read them too).
    static QString defectsText(const PointInterpretation& r);
    static QString classText(int integrityClass);
    static QString confidenceText(const PointInterpretation& r);

private:
    void applyOrder();

    std::function<const CSondaraDoc*()> doc_;
    std::vector<PointInterpretation> results_;
    std::vector<int> order_;  // row -> index into results_
    int sortColumn_ = Confidence;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

}  // namespace sondara::gui
