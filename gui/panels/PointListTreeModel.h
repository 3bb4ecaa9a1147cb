#pragma once
// The tree of the point list panel as a model over the document: one top-level row
// per pile (text = pile number), under it one row per point ("#k", its place in the
// pile). Texts, icons and check states are served on demand from the document; only
// the pile grouping and the piles' own check boxes are kept here.
//
// A check-box click does not change the document: the model asks for it through
// pileTickRequested / pointTickRequested and then shows what the document holds.
#include <QAbstractItemModel>
#include <QIcon>
#include <vector>

#include "core/base/FixedText.h"
#include "core/model/PileRuns.h"

namespace sondara {
class CSondaraDoc;
}

namespace sondara::gui {

class PointListTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit PointListTreeModel(QObject* parent = nullptr);

    // Rebuilds the rows from the document's list (null: no rows). The document must
    // outlive the model's use of it or be replaced by another call.
    void setDocument(const CSondaraDoc* doc);
    const CSondaraDoc* document() const { return doc_; }
    // Re-reads the check boxes and texts after ticks or edits of point fields; a list
    // whose piles no longer match is rebuilt.
    void refresh();

    const PileRuns& piles() const { return runs_; }
    QModelIndex pileIndex(int pile) const;
    QModelIndex pointIndex(int point) const;
    bool isPile(const QModelIndex& index) const {
        return index.isValid() && index.internalId() == 0;
    }
    // The point of a point row, the pile ordinal of a pile row; -1 otherwise.
    int pointOf(const QModelIndex& index) const;
    int pileOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void pileTickRequested(int pile, bool tick);
    void pointTickRequested(int point, bool tick);

private:
    bool pointTicked(int point) const;
    void recomputePile(int pile, bool announce);

    const CSondaraDoc* doc_ = nullptr;
    PileRuns runs_;
    std::vector<char> pileTicked_;  // the piles' own check boxes (a mixed pile keeps its state)
    std::vector<char> seen_;        // the points' check boxes as last shown
    std::vector<FixedText<22>> pileNames_;  // the pile numbers as last shown
    QIcon pileIcon_, pointIcon_;            // shared by every row
};

}  // namespace sondara::gui
