#pragma once
// The point list panel (测点栏): a tree of piles with their points and a flat list
// of points, both with check boxes. It never changes the document: it reports
// selections and ticks through `notify` (code, index) and the main frame acts.
#include <QWidget>
#include <functional>

class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;
class QTableWidget;
class QMenu;

namespace sondara {
class CSondaraDoc;
}

namespace sondara::gui {

class PointListPanel : public QWidget {
    Q_OBJECT
public:
    // Notification codes sent to the main frame.
    enum Code { SelectPoint = 0, TickPoint = 1, UntickPoint = 2, SelectPile = 3, BatchBegin = 10, BatchEnd = 11 };

    explicit PointListPanel(QWidget* parent = nullptr);

    void fill(const CSondaraDoc& doc);
    void synchronise(const CSondaraDoc& doc);
    void clear();

    // The popup menu "测点操作", supplied by the main frame.
    void setContextMenuFactory(std::function<QMenu*()> f) { menuFactory_ = std::move(f); }
    // Called before each user action; returning false ignores the action (a pending
    // processing operation wants to be concluded first).
    void setActionGuard(std::function<bool()> g) { guard_ = std::move(g); }

    QTreeWidget* tree() const { return tree_; }
    QTableWidget* list() const { return list_; }
    QComboBox* viewChoice() const { return choice_; }
    bool refreshing() const { return refreshing_; }

signals:
    void notify(int code, int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onTreeItemChanged(QTreeWidgetItem* item, int column);
    void onTreeSelection();
    void onListCellChanged(int row, int column);
    void onListSelection();
    void updatePileCheck(QTreeWidgetItem* pile);
    bool allowed() const { return !refreshing_ && (!guard_ || guard_()); }

    QComboBox* choice_;
    QTreeWidget* tree_;
    QTableWidget* list_;
    bool refreshing_ = false;
    std::function<QMenu*()> menuFactory_;
    std::function<bool()> guard_;
};

}  // namespace sondara::gui
