#pragma once
// The flat list of the point list panel as a model over the document: one row per
// point, column "序号" ("%d" of the 1-based index, with the point's check box) and
// column "测点编号" (the pile number), served on demand.
#include <QAbstractTableModel>
#include <vector>

namespace sondara {
class CSondaraDoc;
}

namespace sondara::gui {

class PointListTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PointListTableModel(QObject* parent = nullptr);

    void setDocument(const CSondaraDoc* doc);
    const CSondaraDoc* document() const { return doc_; }
    // Re-reads check boxes and pile numbers; a list of another length is rebuilt.
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void pointTickRequested(int point, bool tick);

private:
    const CSondaraDoc* doc_ = nullptr;
    int rows_ = 0;
};

}  // namespace sondara::gui
