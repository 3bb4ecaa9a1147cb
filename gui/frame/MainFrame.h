#pragma once
// The main window: the multi-document area, the three docking panels, the four
// toolbars, the status bar and the menus. Every command, whatever its route (menu,
// toolbar, accelerator, letter shortcut, context menu, posted), passes through
// runCommand(): pending operations may defer it, its enable rule is asked, its short
// name goes to the run log, and its registered handler runs.
#include <QMainWindow>
#include <map>

#include "core/app/CommandTable.h"
#include "core/model/SondaraDoc.h"
#include "gui/display/ViewContext.h"
#include "gui/frame/CommandRegistry.h"

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

class CMainFrame : public QMainWindow, public ViewContext {
    Q_OBJECT
public:
    explicit CMainFrame(CSondaraApp& app);
    ~CMainFrame() override;

    CSondaraApp& app() const { return app_; }
    // The open document, or null.
    DocumentHost* document() const;
    bool hasDocumentPoints() const;

    // The generic steps of every command, then its handler.
    void runCommand(CommandId id);
    // Runs a command after the current event.
    void postCommand(CommandId id) override;
    CommandRegistry& commands() { return commands_; }
    const CommandRegistry& commands() const { return commands_; }

    QAction* action(CommandId id) const;
    QMenu* buildMenu(const MenuDef& def, QWidget* parent);
    PointListPanel* pointList() const { return pointList_; }
    QMdiArea* mdiArea() const { return mdi_; }
    QToolBar* toolbar(int resource) const;
    // The panels' control ids, for dock().
    static constexpr int kDockPointList = 101;
    static constexpr int kDockInfo = 102;
    static constexpr int kDockHistory = 112;
    static constexpr int kDockInterpretation = 120;  // 判读结果
    QDockWidget* dock(int controlId) const;
    // A panel that a command module made, known by its control id from then on.
    void registerDock(int controlId, QDockWidget* d) { docks_[controlId] = d; }

    // Windows on the open document.
    CSondaraView* activeAnalysisView() const;
    std::vector<CSondaraView*> analysisViews() const;
    QMdiSubWindow* openChildWindow(bool maximised);
    void closeAllChildWindows();

    void refreshAllPanels();
    void refreshPointPanels();
    // The point list's current point and the commands' states, nothing else.
    void followCurrentPoint();
    void startPointListBusy();

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

    // ViewContext
    const std::vector<CSondaraView*>& views() const override { return views_; }
    void addView(CSondaraView* v) override;
    void removeView(CSondaraView* v) override;
    bool commandEnabled(CommandId id) const override { return commands_.isEnabled(id); }
    CommandId lastCommand() const override;
    bool pointListBusy() const override { return pointListBusy_; }
    void viewSelectionChanged(CSondaraView* v) override;
    int cursorStyle() const override;

signals:
    // The frame is going: sent first thing in its destructor, while it is still whole, so
    // that what reads it through a callback lets go before Qt closes its children.
    void closing();
    // The open document announced a change (re-sent for panels that follow the
    // document whichever document is open).
    void documentChanged(const sondara::DocChangeEvent& e);
    // Another document was opened, created or closed.
    void documentReplaced();
    // The active analysis view changed or shows another set of traces.
    void activeViewChanged(CSondaraView* v);
    // A command ran.
    void commandRan(sondara::CommandId id);

protected:
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void createActions();
    void createMenus();
    void createToolbars();
    void fillToolbars();
    void createDocks();
    void createStatusBar();
    void registerFrameCommands();
    void fillMenu(QMenu* menu, const std::vector<MenuEntry>& entries);
    void onDocumentReplaced();
    void onDocumentChanged(const DocChangeEvent& e);
    void updateTitle();
    void launchTool(const QStringList& candidates);
    void mergeFiles();
    void saveChecked();
    void tileWindows(bool horizontally);
    void setCursorStyle(int style);

    CSondaraApp& app_;
    CommandRegistry commands_;
    QMdiArea* mdi_ = nullptr;
    PointListPanel* pointList_ = nullptr;
    QTabWidget* info_ = nullptr;
    QLabel* statusPane_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    std::map<CommandId, QAction*> actions_;
    std::map<int, QToolBar*> toolbars_;
    std::map<int, QDockWidget*> docks_;
    std::vector<CSondaraView*> views_;
    QTimer* busyTimer_ = nullptr;
    QTimer* uiTimer_ = nullptr;
    bool pointListBusy_ = false;
    bool firstPointRefresh_ = true;
    bool cursorInfoVisible_ = false;
    bool noDocumentMenus_ = false;
    bool destroying_ = false;
};

}  // namespace sondara::gui
