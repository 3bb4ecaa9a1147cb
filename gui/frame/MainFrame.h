#pragma once
// The main window: the multi-document area, the three docking panels, the four
// toolbars, the status bar and the menus. Every command passes through
// runCommand(), which gives pending operations the chance to defer it, writes its
// short name to the run log and routes it.
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>

#include "core/app/CommandTable.h"
#include "core/model/ListCommands.h"

class QMdiArea;
class QMdiSubWindow;
class QAction;
class QMenu;
class QLabel;
class QTabWidget;
class QToolBar;
class QDockWidget;
class QTimer;

namespace sondara::gui {

class CSondaraApp;
class DocumentHost;
class PointListPanel;
class CSondaraView;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CSondaraApp& app);
    ~CMainFrame() override;

    // The generic steps of every command, then its route.
    void runCommand(int id);
    // Posts a command (runs after the current event).
    void postCommand(int id);

    QAction* action(int id) const;
    PointListPanel* pointList() const { return pointList_; }
    QMdiArea* mdiArea() const { return mdi_; }
    QToolBar* toolbar(int resource) const;
    QDockWidget* dock(int controlId) const;
    QLabel* statusPane() const { return statusPane_; }

    // Windows on the open document.
    CSondaraView* activeAnalysisView() const;
    std::vector<CSondaraView*> analysisViews() const;
    QMdiSubWindow* openChildWindow(bool maximised);
    void closeAllChildWindows();

    void refreshAllPanels();
    void refreshPointPanels();
    void startPointListBusy();
    bool pointListBusy() const { return pointListBusy_; }

    // What the point list panel (and the display, the point table) report: the
    // document selects, ticks and unticks, then the windows refresh.
    void onPointSelected(int index);
    void onPileSelected(int ordinal);
    void onPointTicked(int index, bool ticked);
    void onTickBatchBegin();
    void onTickBatchEnd();
    // The same as one coded notification (PointListPanel::Code); other codes do nothing.
    void onPointListNotify(int code, int index);

    // Enables, disables and checks every action from the current state.
    void updateCommandUi();
    void rebuildRecentFilesMenu();

protected:
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    struct CommandUi {
        bool enabled = false;
        bool checked = false;
    };
    void createActions();
    void createMenus();
    void createToolbars();
    void createDocks();
    void createStatusBar();
    void registerHandlers();
    void registerListHandlers();
    QMenu* buildMenu(const MenuDef& def, QWidget* parent);
    void fillMenu(QMenu* menu, const std::vector<MenuEntry>& entries);
    CommandUi commandUi(int id) const;
    bool hasPoints() const;
    bool forwardToView(int id);
    void launchTool(const QStringList& candidates);
    void mergeFiles();
    void saveChecked();
    void tileWindows(bool horizontally);

    CSondaraApp& app_;
    QMdiArea* mdi_ = nullptr;
    PointListPanel* pointList_ = nullptr;
    QTabWidget* info_ = nullptr;
    QLabel* statusPane_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    std::map<int, QAction*> actions_;
    std::map<int, QToolBar*> toolbars_;
    std::map<int, QDockWidget*> docks_;
    std::map<int, std::function<void()>> handlers_;
    QTimer* busyTimer_ = nullptr;
    QTimer* uiTimer_ = nullptr;
    bool pointListBusy_ = false;
    bool firstPointRefresh_ = true;
    bool cursorInfoVisible_ = false;
    bool noDocumentMenus_ = false;
    bool destroying_ = false;
    mutable MemoryClipboard clipboardSeen_;  // what the private format held when it last changed
    int listUiGeneration_ = 0;               // grows with every clipboard or document change
    mutable int listUiCacheGeneration_ = -1;
    mutable std::map<int, bool> listUiCache_;
};

}  // namespace sondara::gui
