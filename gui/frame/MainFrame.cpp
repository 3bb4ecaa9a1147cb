#include "gui/frame/MainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <vector>

#include "core/app/CommandTable.h"
#include "core/app/RunLog.h"
#include "core/fileio/ProjectFile.h"
#include "core/model/ListCommands.h"
#include "gui/app/CommandIcons.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/QtPrompter.h"
#include "gui/app/SondaraApp.h"
#include "gui/app/Translation.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/ChildFrame.h"
#include "gui/frame/LetterShortcutFilter.h"
#include "gui/frame/TextExportDialog.h"
#include "gui/panels/InfoBar.h"
#include "gui/panels/PointListPanel.h"
#include "gui/processing/ProcessingHistoryPanel.h"

namespace sondara::gui {

namespace {

using C = CommandId;

QString stripMnemonic(QString t) {
    return t.remove('&');
}

}  // namespace

CMainFrame::CMainFrame(CSondaraApp& app) : app_(app) {
    setObjectName("CMainFrame");
    mdi_ = new QMdiArea(this);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    createToolbars();  // the frame's commands read the toolbars' visibility
    createStatusBar();
    createDocks();
    registerFrameCommands();
    for (const CommandModule& m : commandModules()) m(commands_, *this);
    createActions();
    fillToolbars();
    createMenus();
    updateTitle();

    busyTimer_ = new QTimer(this);
    busyTimer_->setInterval(500);
    busyTimer_->setSingleShot(true);
    connect(busyTimer_, &QTimer::timeout, this, [this] { pointListBusy_ = false; });
    uiTimer_ = new QTimer(this);
    uiTimer_->setInterval(250);
    connect(uiTimer_, &QTimer::timeout, this, &CMainFrame::updateCommandUi);
    uiTimer_->start();
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow*) {
        updateCommandUi();
        emit activeViewChanged(activeAnalysisView());
    });
    connect(&app_, &CSondaraApp::documentReplaced, this, &CMainFrame::onDocumentReplaced);
    new LetterShortcutFilter(*this);
    resize(1280, 860);
}

CMainFrame::~CMainFrame() {
    // the windows that close with the frame must not ask for command states any more
    destroying_ = true;
    emit closing();
    uiTimer_->stop();
    disconnect(mdi_, nullptr, this, nullptr);
    // The views take themselves off the frame's list as they go: they go while the
    // frame is still whole, not among the children Qt deletes after this body.
    // Every child window counts, also one already closed whose deletion is still
    // pending (the list of the area no longer names it).
    const QList<QMdiSubWindow*> windows = mdi_->findChildren<QMdiSubWindow*>();
    std::vector<QPointer<QMdiSubWindow>> alive(windows.begin(), windows.end());
    for (const QPointer<QMdiSubWindow>& w : alive) delete w.data();
}

DocumentHost* CMainFrame::document() const {
    return app_.document();
}

bool CMainFrame::hasDocumentPoints() const {
    return app_.document() && app_.document()->doc().pointCount() > 0;
}

QAction* CMainFrame::action(CommandId id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

QToolBar* CMainFrame::toolbar(int resource) const {
    auto it = toolbars_.find(resource);
    return it == toolbars_.end() ? nullptr : it->second;
}

QDockWidget* CMainFrame::dock(int controlId) const {
    auto it = docks_.find(controlId);
    return it == docks_.end() ? nullptr : it->second;
}

void CMainFrame::createActions() {
    for (const CommandInfo& c : allCommands()) {
        auto* a = new QAction(trCore(c.menuText), this);
        a->setObjectName(QString("cmd_%1").arg(toInt(c.id)));
        a->setData(toInt(c.id));
        if (*c.accel) a->setShortcut(QKeySequence(QString::fromUtf8(c.accel)));
        QString tip = *c.shortName ? trCore(c.shortName) : stripMnemonic(a->text());
        a->setToolTip(tip);
        a->setStatusTip(trCore(commandPrompt(c.id)));
        a->setIcon(commandIcon(c.id));
        a->setIconVisibleInMenu(true);
        a->setCheckable(commands_.isCheckable(c.id));
        a->setEnabled(false);
        const CommandId id = c.id;
        connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
        actions_[c.id] = a;
        addAction(a);  // shortcuts work wherever the focus is
    }
    // The second shortcuts of the edit commands.
    actions_[C::EditUndo]->setShortcuts({QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")});
    actions_[C::EditCut]->setShortcuts({QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")});
    actions_[C::EditCopy]->setShortcuts({QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")});
    actions_[C::EditPaste]->setShortcuts({QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins")});
}

void CMainFrame::fillMenu(QMenu* menu, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& e : entries) {
        if (!e.submenuTitle.empty()) {
            QMenu* sub = menu->addMenu(trCore(e.submenuTitle));
            fillMenu(sub, e.children);
        } else if (e.id == C::None) {
            menu->addSeparator();
        } else if (e.id == C::FileRecent) {
            recentMenu_ = menu->addMenu(trCore(findCommand(C::FileRecent)->menuText));
            rebuildRecentFilesMenu();
        } else if (QAction* a = action(e.id)) {
            if (!e.textOverride.empty()) {
                // the same command under another text in this menu
                auto* alias = new QAction(trCore(e.textOverride), menu);
                alias->setData(toInt(e.id));
                alias->setIcon(a->icon());
                connect(alias, &QAction::triggered, this, [this, id = e.id] { runCommand(id); });
                connect(menu, &QMenu::aboutToShow, alias, [a, alias] {
                    alias->setEnabled(a->isEnabled());
                    alias->setCheckable(a->isCheckable());
                    alias->setChecked(a->isChecked());
                });
                menu->addAction(alias);
            } else {
                menu->addAction(a);
            }
        }
    }
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandUi);
}

QMenu* CMainFrame::buildMenu(const MenuDef& def, QWidget* parent) {
    auto* m = new QMenu(trCore(def.title), parent);
    fillMenu(m, def.entries);
    return m;
}

void CMainFrame::createMenus() {
    // Without a document the short menu bar is shown.
    bool noDoc = app_.document() == nullptr;
    // clear() only takes the actions away: the menus themselves go too
    for (QAction* a : menuBar()->actions())
        if (QMenu* m = a->menu()) m->deleteLater();
    menuBar()->clear();
    recentMenu_ = nullptr;
    for (const MenuDef& def : noDoc ? noDocumentMenus() : mainMenus())
        menuBar()->addMenu(buildMenu(def, menuBar()));
    noDocumentMenus_ = noDoc;
}

void CMainFrame::rebuildRecentFilesMenu() {
    if (!recentMenu_) return;
    recentMenu_->clear();
    const QStringList files = app_.recentFiles();
    int n = 0;
    for (const QString& f : files) {
        QAction* a = recentMenu_->addAction(QString("&%1 %2").arg(++n).arg(f));
        connect(a, &QAction::triggered, this, [this, f] { app_.openDocumentFile(f); });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

void CMainFrame::createToolbars() {
    for (const ToolbarDef& t : sondara::toolbars()) {
        auto* tb = new QToolBar(trCore(t.name), this);
        tb->setObjectName(QString("toolbar_%1").arg(t.resource));
        tb->setIconSize(QSize(20, 20));
        toolbars_[t.resource] = tb;
    }
    addToolBar(Qt::TopToolBarArea, toolbars_[kToolbarMain]);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, toolbars_[kToolbarProcessing]);
    // 显示调整 on the row of 波形处理, directly after it, from the start: moving it
    // there again later (inserting it before itself) took it out of its row.
    addToolBar(Qt::TopToolBarArea, toolbars_[kToolbarDisplay]);
    addToolBar(Qt::RightToolBarArea, toolbars_[kToolbarAnalysis]);
}

void CMainFrame::fillToolbars() {
    for (const ToolbarDef& t : sondara::toolbars()) {
        QToolBar* tb = toolbars_[t.resource];
        for (CommandId id : t.ids) {
            if (id == C::None)
                tb->addSeparator();
            else if (QAction* a = action(id))
                tb->addAction(a);
        }
    }
}

void CMainFrame::createStatusBar() {
    statusBar()->showMessage(trCore(kIdleStatusText));
    statusPane_ = new QLabel(kStatusPaneText, this);
    statusPane_->setObjectName("statusPane32799");
    statusPane_->setMinimumWidth(230);
    statusBar()->addPermanentWidget(statusPane_);
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& m) {
        if (m.isEmpty()) statusBar()->showMessage(trCore(kIdleStatusText));
    });
}

void CMainFrame::createDocks() {
    auto makeDock = [this](int id, const char* title, QWidget* content, Qt::DockWidgetArea area,
                           QSize size) {
        auto* d = new QDockWidget(QObject::tr(title), this);
        d->setObjectName(QString("dock_%1").arg(id));
        d->setWidget(content);
        d->setAllowedAreas(Qt::AllDockWidgetAreas);
        content->setMinimumSize(size.width() / 2, size.height() / 4);
        addDockWidget(area, d);
        resizeDocks({d}, {area == Qt::BottomDockWidgetArea ? size.height() : size.width()},
                    area == Qt::BottomDockWidgetArea ? Qt::Vertical : Qt::Horizontal);
        docks_[id] = d;
        return d;
    };
    pointList_ = new PointListPanel(this);
    pointList_->setContextMenuFactory(
        [this]() -> QMenu* { return buildMenu(contextMenu(kMenuPointList), this); });
    pointList_->setActionGuard([this] {
        for (CSondaraView* v : analysisViews())
            if (!v->concludePendingOperation(nullptr, C::None)) return false;
        return true;
    });
    connect(pointList_, &PointListPanel::pointSelected, this, &CMainFrame::onPointSelected);
    connect(pointList_, &PointListPanel::pileSelected, this, &CMainFrame::onPileSelected);
    connect(pointList_, &PointListPanel::pointTicked, this, &CMainFrame::onPointTicked);
    connect(pointList_, &PointListPanel::batchBegin, this, &CMainFrame::onTickBatchBegin);
    connect(pointList_, &PointListPanel::batchEnd, this, &CMainFrame::onTickBatchEnd);
    makeDock(kDockPointList, QT_TRANSLATE_NOOP("QObject", "测点栏"), pointList_,
             Qt::LeftDockWidgetArea, QSize(160, 260));

    // The processing history of the active view's target points: it follows the
    // document, the active view and what it shows.
    auto* history = new ProcessingHistoryPanel(this);
    history->setViewProvider([this] { return activeAnalysisView(); });
    history->setCommandRunner([this](CommandId id) { runCommand(id); });
    auto rebuildHistory = [] { ProcessingHistoryPanel::scheduleRebuild(); };
    connect(this, &CMainFrame::documentChanged, history, rebuildHistory);
    connect(this, &CMainFrame::documentReplaced, history, rebuildHistory);
    connect(this, &CMainFrame::activeViewChanged, history, rebuildHistory);
    makeDock(kDockHistory, QT_TRANSLATE_NOOP("QObject", "处理过程"), history,
             Qt::RightDockWidgetArea, QSize(160, 260));

    // the grids are wired to the document and the views by their own command module
    info_ = new InfoBar(this);
    makeDock(kDockInfo, QT_TRANSLATE_NOOP("QObject", "信息栏"), info_, Qt::BottomDockWidgetArea,
             QSize(100, 130));
}

CSondaraView* CMainFrame::activeAnalysisView() const {
    QMdiSubWindow* sw = mdi_->activeSubWindow();
    if (!sw && !mdi_->subWindowList().isEmpty()) sw = mdi_->subWindowList().first();
    if (!sw) return nullptr;
    return qobject_cast<CSondaraView*>(sw->widget());
}

std::vector<CSondaraView*> CMainFrame::analysisViews() const {
    return views_;
}

void CMainFrame::addView(CSondaraView* v) {
    views_.push_back(v);
}

void CMainFrame::removeView(CSondaraView* v) {
    std::erase(views_, v);
}

CommandId CMainFrame::lastCommand() const {
    return app_.lastCommandName.isEmpty() ? C::None : app_.lastCommandId;
}

int CMainFrame::cursorStyle() const {
    return app_.cursorSettings.cursorStyle;
}

void CMainFrame::viewSelectionChanged(CSondaraView* v) {
    followCurrentPoint();
    if (v == activeAnalysisView()) emit activeViewChanged(v);
}

QMdiSubWindow* CMainFrame::openChildWindow(bool maximised) {
    DocumentHost* h = app_.document();
    if (!h) return nullptr;
    auto* child = new CChildFrame(*this, *h);
    mdi_->addSubWindow(child);
    if (maximised)
        child->showMaximized();
    else
        child->show();
    if (CSondaraView* v = qobject_cast<CSondaraView*>(child->widget())) {
        // a click on a trace of a multi-trace layout selects its point
        connect(v, &CSondaraView::pointSelected, this, &CMainFrame::onPointSelected);
        v->display()->setCursorInfoVisible(cursorInfoVisible_);
    }
    return child;
}

void CMainFrame::closeAllChildWindows() {
    for (QMdiSubWindow* sw : mdi_->subWindowList()) {
        sw->setAttribute(Qt::WA_DeleteOnClose);
        if (auto* c = dynamic_cast<CChildFrame*>(sw))
            c->forceClose();
        else
            sw->close();
    }
}

void CMainFrame::onDocumentReplaced() {
    if (DocumentHost* h = app_.document()) {
        connect(h, &DocumentHost::documentChanged, this, &CMainFrame::onDocumentChanged);
        connect(h, &DocumentHost::titleChanged, this, &CMainFrame::updateTitle);
    }
    updateTitle();
    updateCommandUi();  // builds the menus again when a document came or went
    emit documentReplaced();
}

void CMainFrame::onDocumentChanged(const DocChangeEvent& e) {
    switch (e.kind) {
        case DocChange::PointList:
            refreshAllPanels();
            break;
        case DocChange::Processing:
        case DocChange::Marks:
        case DocChange::Display:
            // nothing the point list shows: a drag that previews on every mouse move
            // must not walk the whole list
            followCurrentPoint();
            break;
        default:
            refreshPointPanels();
            break;
    }
    updateTitle();
    emit documentChanged(e);
}

void CMainFrame::updateTitle() {
    DocumentHost* h = app_.document();
    // "[*]" is where Qt shows the unsaved-changes marker
    setWindowTitle(h ? h->title() + "[*] - Sondara" : QStringLiteral("Sondara"));
    setWindowModified(h && h->doc().modified);
}

void CMainFrame::refreshAllPanels() {
    if (DocumentHost* h = app_.document())
        pointList_->fill(h->doc());
    else
        pointList_->clear();
    updateTitle();
    followCurrentPoint();
}

void CMainFrame::refreshPointPanels() {
    if (DocumentHost* h = app_.document()) pointList_->synchronise(h->doc());
    followCurrentPoint();
}

void CMainFrame::followCurrentPoint() {
    if (DocumentHost* h = app_.document()) pointList_->selectCurrent(h->doc());
    updateCommandUi();
}

void CMainFrame::startPointListBusy() {
    pointListBusy_ = true;
    busyTimer_->start();
}

void CMainFrame::onPointSelected(int index) {
    DocumentHost* h = app_.document();
    if (!h) return;
    CSondaraDoc& d = h->doc();
    startPointListBusy();
    if (index < 0 || index >= d.pointCount()) return;
    if (d.selectionMode == 1 && d.currentPoint == index) return;  // already current: no redraw
    d.selectPoint(index);
    d.commitChange(DocChange::Selection);
}

void CMainFrame::onPileSelected(int ordinal) {
    DocumentHost* h = app_.document();
    if (!h) return;
    CSondaraDoc& d = h->doc();
    startPointListBusy();
    if (d.selectionMode == 2 && d.currentPile == ordinal) return;
    d.selectPile(ordinal);
    d.commitChange(DocChange::Selection);
}

void CMainFrame::onPointTicked(int index, bool ticked) {
    DocumentHost* h = app_.document();
    if (!h) return;
    startPointListBusy();
    if (index < 0 || index >= h->doc().pointCount()) return;
    SetPointTick(h->doc(), index, ticked);  // an undoable list edit
}

void CMainFrame::onTickBatchBegin() {
    if (DocumentHost* h = app_.document()) h->doc().beginChanges();
}

void CMainFrame::onTickBatchEnd() {
    if (DocumentHost* h = app_.document()) h->doc().endChanges();
}

void CMainFrame::onPointListNotify(int code, int index) {
    switch (code) {
        case PointListPanel::SelectPoint:
            onPointSelected(index);
            break;
        case PointListPanel::TickPoint:
            onPointTicked(index, true);
            break;
        case PointListPanel::UntickPoint:
            onPointTicked(index, false);
            break;
        case PointListPanel::SelectPile:
            onPileSelected(index);
            break;
        case PointListPanel::BatchBegin:
            onTickBatchBegin();
            break;
        case PointListPanel::BatchEnd:
            onTickBatchEnd();
            break;
        default:
            break;
    }
}

void CMainFrame::postCommand(CommandId id) {
    QTimer::singleShot(0, this, [this, id] { runCommand(id); });
}

void CMainFrame::runCommand(CommandId id) {
    // 1. an interactive operation under way may defer the command
    for (CSondaraView* v : analysisViews())
        if (!v->concludePendingOperation(this, id)) return;
    // 2. a command that may not run now does nothing, whatever route it came by
    if (!commands_.isEnabled(id)) {
        updateCommandUi();
        return;
    }
    // 3. the short name goes to the run log and becomes the last command
    const CommandInfo* c = findCommand(id);
    if (c && *c->shortName) {
        app_.lastCommandId = id;
        app_.lastCommandName = QString::fromUtf8(c->shortName);
        logLine(c->shortName);
    }
    // 4. its handler
    commands_.run(id);
    emit commandRan(id);
    updateCommandUi();
}

void CMainFrame::launchTool(const QStringList& candidates) {
    for (const QString& prog : candidates) {
        QString path = QStandardPaths::findExecutable(prog);
        if (!path.isEmpty()) {
            QProcess::startDetached(path, {});
            return;
        }
    }
}

void CMainFrame::saveChecked() {
    DocumentHost* h = app_.document();
    if (!h || h->doc().pointCount() == 0) return;
    if (h->doc().checkedList.empty()) {
        QMessageBox::information(this, QString(), QObject::tr("请选择要保存的测点"));
        return;
    }
    QString path = QFileDialog::getSaveFileName(this, QObject::tr("选择保存"), QString(),
                                                QObject::tr("QAR数据文件(*.qar);;所有文件 (*.*)"),
                                                nullptr, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += ".qar";
    bool ok = SaveChecked(h->doc(), path.toStdString());
    QMessageBox::information(this, QString(),
                             ok ? QObject::tr("保存完成") : QObject::tr("保存失败"));
}

void CMainFrame::mergeFiles() {
    if (!app_.saveModified()) return;
    QDialog dlg(this);
    dlg.setWindowTitle(QObject::tr("选择加载文件"));
    auto* v = new QVBoxLayout(&dlg);
    auto* list = new QListWidget(&dlg);
    v->addWidget(list);
    auto* multi = new QPushButton(QObject::tr("多选"), &dlg);
    auto* remove = new QPushButton(QObject::tr("删除"), &dlg);
    auto* row = new QHBoxLayout;
    row->addWidget(multi);
    row->addWidget(remove);
    row->addStretch();
    v->addLayout(row);
    auto* buttons = new QDialogButtonBox(&dlg);
    buttons->addButton(QObject::tr("打开"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QObject::tr("取消"), QDialogButtonBox::RejectRole);
    v->addWidget(buttons);
    connect(multi, &QPushButton::clicked, &dlg, [&] {
        for (const QString& f : QFileDialog::getOpenFileNames(&dlg, QObject::tr("多选"), QString(),
                                                              QObject::tr("所有文件(*.*)")))
            list->addItem(f);
    });
    connect(remove, &QPushButton::clicked, &dlg, [&] { delete list->currentItem(); });
    connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    dlg.resize(520, 320);
    if (dlg.exec() != QDialog::Accepted || list->count() == 0) return;
    std::vector<std::string> paths;
    for (int i = 0; i < list->count(); ++i) paths.push_back(list->item(i)->text().toStdString());
    app_.newDocument();
    DocumentHost* h = app_.document();
    if (!h) return;
    QtPrompter prompter(this);
    MergeFiles(h->doc(), paths, prompter);  // announces the merged list as a change
}

void CMainFrame::setCursorStyle(int style) {
    app_.cursorSettings.cursorStyle = style;
    QtPrompter p(this);
    saveSettings(app_.cursorSettings, &p);
    for (CSondaraView* v : analysisViews()) v->display()->setCursorStyle(style);
}

void CMainFrame::registerFrameCommands() {
    CommandRegistry& r = commands_;
    auto always = [] { return true; };
    auto withDocument = [this] { return app_.document() != nullptr; };
    auto withPoints = [this] { return hasDocumentPoints(); };
    auto withViews = [this] { return app_.document() != nullptr && !views_.empty(); };
    auto toggleDock = [this](int id) {
        return CommandHandler{C::None,
                              [this, id] { docks_[id]->setVisible(!docks_[id]->isVisible()); },
                              {},
                              [this, id] { return docks_.at(id)->isVisible(); }};
    };
    auto toggleBar = [this](int res) {
        return CommandHandler{
            C::None,
            [this, res] { toolbars_[res]->setVisible(!toolbars_[res]->isVisible()); },
            {},
            [this, res] { return toolbars_.at(res)->isVisible(); }};
    };
    auto add = [&r](CommandId id, CommandHandler h) {
        h.id = id;
        r.add(std::move(h));
    };
    add(C::FileNew, {C::None, [this] { app_.newDocument(); }, always, {}});
    add(C::FileOpen, {C::None, [this] { app_.openCommand(); }, always, {}});
    add(C::FileClose, {C::None, [this] { app_.closeDocument(); }, withDocument, {}});
    add(C::FileSave, {C::None, [this] { app_.saveDocument(false); }, withPoints, {}});
    add(C::FileSaveAs, {C::None, [this] { app_.saveDocument(true); }, withPoints, {}});
    add(C::FileSaveChecked, {C::None, [this] { saveChecked(); }, withPoints, {}});
    add(C::FileMerge, {C::None, [this] { mergeFiles(); }, always, {}});
    add(C::FileSaveResult,
        {C::None, [this] { runSaveResult(app_.document()->doc(), this); }, withPoints, {}});
    add(C::FileExportText,
        {C::None, [this] { runTextExport(app_.document()->doc(), this); }, withPoints, {}});
    add(C::AppExit, {C::None, [this] { close(); }, always, {}});
    add(C::ViewStatusBar, {C::None,
                           [this] { statusBar()->setVisible(!statusBar()->isVisible()); },
                           {},
                           [this] { return statusBar()->isVisible(); }});
    add(C::ViewMainToolbar, toggleBar(kToolbarMain));
    add(C::ViewDisplayToolbar, toggleBar(kToolbarDisplay));
    add(C::ViewProcessingToolbar, toggleBar(kToolbarProcessing));
    add(C::ViewAnalysisToolbar, toggleBar(kToolbarAnalysis));
    add(C::ViewPointListPanel, toggleDock(kDockPointList));
    add(C::ViewHistoryPanel, toggleDock(kDockHistory));
    add(C::ViewInfoPanel, toggleDock(kDockInfo));
    add(C::ViewCrossCursor, {C::None, [this] { setCursorStyle(1); }, withDocument,
                             [this] { return app_.cursorSettings.cursorStyle == 1; }});
    add(C::ViewLineCursor, {C::None, [this] { setCursorStyle(2); }, withDocument,
                            [this] { return app_.cursorSettings.cursorStyle == 2; }});
    add(C::ViewCursorInfo, {C::None,
                            [this] {
                                cursorInfoVisible_ = !cursorInfoVisible_;
                                for (CSondaraView* v : analysisViews())
                                    v->display()->setCursorInfoVisible(cursorInfoVisible_);
                            },
                            withDocument, [this] { return cursorInfoVisible_; }});
    add(C::WindowNew, {C::None, [this] { openChildWindow(false); }, withViews, {}});
    add(C::WindowCascade, {C::None, [this] { mdi_->cascadeSubWindows(); }, withViews, {}});
    add(C::WindowTileHorizontal, {C::None, [this] { tileWindows(true); }, withViews, {}});
    add(C::WindowTileVertical, {C::None, [this] { tileWindows(false); }, withViews, {}});
    add(C::WindowArrangeIcons, {C::None, [this] { mdi_->tileSubWindows(); }, withViews, {}});
    add(C::WindowCompare, {C::None,
                           [this] {
                               if (views_.size() == 1) openChildWindow(false);
                               tileWindows(true);
                           },
                           withViews,
                           {}});
    add(C::ToolViewLog, {C::None, [this] { app_.viewLog(); }, always, {}});
    add(C::ToolCalculator,
        {C::None,
         [this] {
             launchTool({"gnome-calculator", "kcalc", "galculator", "mate-calc", "xcalc"});
         },
         always,
         {}});
    add(C::ToolPaint, {C::None,
                       [this] {
                           launchTool({"kolourpaint", "pinta", "mtpaint", "gimp"});
                       },
                       always,
                       {}});
    add(C::ToolNotepad, {C::None,
                         [this] {
                             launchTool({"gnome-text-editor", "gedit", "kate", "mousepad", "pluma",
                                         "xed", "leafpad"});
                         },
                         always,
                         {}});
    add(C::HelpTopics, {C::None, [this] { app_.helpTopics(); }, always, {}});
    add(C::HelpAbout, {C::None, [this] { app_.aboutDialog(); }, always, {}});
}

void CMainFrame::tileWindows(bool horizontally) {
    // Horizontal tiling stacks the windows one above the other at full width;
    // vertical tiling puts them side by side at full height.
    const auto windows = mdi_->subWindowList();
    if (windows.isEmpty()) return;
    QRect area = mdi_->viewport()->rect();
    int n = windows.size();
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = windows[i];
        w->showNormal();
        if (horizontally) {
            int h = area.height() / n;
            w->setGeometry(0, i * h, area.width(), h);
        } else {
            int wd = area.width() / n;
            w->setGeometry(i * wd, 0, wd, area.height());
        }
    }
}

void CMainFrame::updateCommandUi() {
    if (destroying_) return;
    if ((app_.document() == nullptr) != noDocumentMenus_) createMenus();
    // The "*" of the title follows the document however it became saved or changed.
    DocumentHost* h = app_.document();
    if (isWindowModified() != (h && h->doc().modified)) updateTitle();
    for (auto& [id, a] : actions_) {
        const bool enabled = commands_.isEnabled(id);
        if (a->isEnabled() != enabled) a->setEnabled(enabled);
        if (a->isCheckable()) {
            const bool checked = commands_.isChecked(id);
            if (a->isChecked() != checked) a->setChecked(checked);
        }
    }
}

void CMainFrame::closeEvent(QCloseEvent* e) {
    for (CSondaraView* v : analysisViews()) {
        if (!v->concludePendingOperation(this, C::AppExit)) {
            e->ignore();
            return;
        }
    }
    if (!app_.saveModified()) {
        e->ignore();
        return;
    }
    if (DocumentHost* h = app_.document()) h->doc().modified = false;
    closeAllChildWindows();
    e->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* e) {
    const auto urls = e->mimeData()->urls();
    for (const QUrl& u : urls) {
        if (u.isLocalFile()) {
            app_.openDocumentFile(u.toLocalFile());
            break;
        }
    }
}

}  // namespace sondara::gui
