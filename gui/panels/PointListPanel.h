#pragma once
// The point list panel (测点栏): a tree of piles with their points and a flat list
// of points, both with check boxes, as views over the document. It never changes
// the document: it reports selections and ticks through its signals and the main
// frame acts, then asks the panel to synchronise.
#include <QWidget>
#include <functional>

class QComboBox;
class QTreeView;
class QTableView;
class QMenu;
class QModelIndex;

namespace sondara {
class CSondaraDoc;
}

namespace sondara::gui {

class PointListTreeModel;
class PointListTableModel;

class PointListPanel : public QWidget {
    Q_OBJECT
public:
    // The codes of the frame's generic point-selection notification (the point
    // table and the display still use it); the panel itself speaks through signals.
    enum Code {
        SelectPoint = 0,
        TickPoint = 1,
        UntickPoint = 2,
        SelectPile = 3,
        BatchBegin = 10,
        BatchEnd = 11
    };

    explicit PointListPanel(QWidget* parent = nullptr);

    // Rebuilds both views from the document's list; the document must stay alive
    // until the next fill() or clear().
    void fill(const CSondaraDoc& doc);
    // Check boxes, texts and the current point or pile from the document.
    void synchronise(const CSondaraDoc& doc);
    // Only the current point or pile (check boxes and texts as they are): after a
    // change that the list does not show, or a refused click to be undone.
    void selectCurrent(const CSondaraDoc& doc);
    void clear();

    // The popup menu "测点操作", supplied by the main frame.
    void setContextMenuFactory(std::function<QMenu*()> f) { menuFactory_ = std::move(f); }
    // Called before each user action; returning false ignores the action (a pending
    // processing operation wants to be concluded first).
    void setActionGuard(std::function<bool()> g) { guard_ = std::move(g); }

    QTreeView* tree() const { return tree_; }
    QTableView* list() const { return list_; }
    PointListTreeModel* treeModel() const { return treeModel_; }
    PointListTableModel* listModel() const { return listModel_; }
    QComboBox* viewChoice() const { return choice_; }

signals:
    void pointSelected(int point);
    void pileSelected(int pile);
    void pointTicked(int point, bool ticked);
    // A series of ticks (a whole pile): the windows redraw once, at its end.
    void batchBegin();
    void batchEnd();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onPileTick(int pile, bool tick);
    void onTreePointTick(int point, bool tick);
    void onListTick(int point, bool tick);
    void onTreeSelection();
    void onListSelection();
    bool allowed() const { return !refreshing_ && (!guard_ || guard_()); }

    QComboBox* choice_;
    QTreeView* tree_;
    QTableView* list_;
    PointListTreeModel* treeModel_;
    PointListTableModel* listModel_;
    bool refreshing_ = false;
    std::function<QMenu*()> menuFactory_;
    std::function<bool()> guard_;
};

}  // namespace sondara::gui
