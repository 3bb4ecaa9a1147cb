#include "gui/frame/MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
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
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/app/CommandTable.h"
#include "core/app/RunLog.h"
#include "core/fileio/ProjectFile.h"
#include "core/model/ListCommands.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/QtClipboard.h"
#include "gui/app/QtPrompter.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/ChildFrame.h"
#include "gui/frame/PaneFocus.h"
#include "gui/frame/TextExportDialog.h"
#include "gui/panels/PointListPanel.h"

namespace sondara::gui {

namespace {
// The areas F6 / Shift+F6 go round: the visible panels, then the active window.
std::vector<QWidget*> focusAreasOf(const CMainFrame& f) {
    std::vector<QWidget*> out;
    for (int id : {101, 112, 102})
        if (QDockWidget* d = f.dock(id); d && d->isVisible() && d->widget()) out.push_back(d->widget());
    if (QMdiSubWindow* w = f.mdiArea()->activeSubWindow(); w && w->widget()) out.push_back(w->widget());
    return out;
}
}  // namespace

namespace {

bool isListCommandId(int id) {
    switch (id) {
        case 57634: case 57635: case 57637: case 32814: case 32815: case 32813: case 32816:
        case 32817: case 32841: case 32842: case 32875: case 32876: case 32877: case 57643:
        case 57644: case 32819: case 32871:
            return true;
        default:
            return false;
    }
}

// Freedesktop theme icons for the commands that have a standard one.
const std::map<int, const char*>& themeIcons() {
    static const std::map<int, const char*> k = {
        {57600, "document-new"},   {57601, "document-open"},   {57603, "document-save"},
        {57604, "document-save-as"}, {57607, "document-print"}, {57609, "document-print-preview"},
        {57643, "edit-undo"},      {57644, "edit-redo"},       {57635, "edit-cut"},
        {57634, "edit-copy"},      {57637, "edit-paste"},      {32813, "edit-delete"},
        {32816, "go-up"},          {32817, "go-down"},         {57667, "help-contents"},
        {57664, "help-about"},     {57665, "application-exit"}, {32854, "accessories-calculator"},
        {32856, "accessories-text-editor"}, {32841, "view-sort-ascending"}, {32842, "view-sort-descending"},
    };
    return k;
}

// An icon for a command without a theme icon: the first character of its short
// name on a tinted square, so that every toolbar button is recognisable.
QIcon glyphIcon(const QString& text, QColor tint) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(tint.lighter(170));
    p.setPen(tint.darker(130));
    p.drawRoundedRect(QRectF(1.5, 1.5, 21, 21), 4, 4);
    QFont f = QApplication::font();
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    p.setPen(tint.darker(200));
    p.drawText(pm.rect(), Qt::AlignCenter, text.left(1));
    return QIcon(pm);
}

QColor tintFor(int id) {
    if (id >= 32781 && id <= 32794) return QColor(40, 120, 200);   // processing
    if ((id >= 32771 && id <= 32779) || id == 32840 || id == 32836) return QColor(200, 80, 40);  // marks
    if (id >= 32795 && id <= 32811) return QColor(60, 150, 60);     // display
    return QColor(110, 110, 110);
}

QString stripMnemonic(QString t) { return t.remove('&'); }

}  // namespace

CMainFrame::CMainFrame(CSondaraApp& app) : app_(app) {
    setObjectName("CMainFrame");
    setWindowTitle("Sondara");
    mdi_ = new QMdiArea(this);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    createActions();
    createToolbars();
    createStatusBar();
    createDocks();
    createMenus();
    registerHandlers();
    registerListHandlers();

    busyTimer_ = new QTimer(this);
    busyTimer_->setInterval(500);
    connect(busyTimer_, &QTimer::timeout, this, [this] {
        busyTimer_->stop();
        pointListBusy_ = false;
    });
    uiTimer_ = new QTimer(this);
    uiTimer_->setInterval(250);
    connect(uiTimer_, &QTimer::timeout, this, &CMainFrame::updateCommandUi);
    uiTimer_->start();
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow*) { updateCommandUi(); });
    connect(&app_, &CSondaraApp::documentReplaced, this, [this] {
        ++listUiGeneration_;
        if (DocumentHost* h = app_.document()) {
            connect(h, &DocumentHost::documentChanged, this, [this](int what) {
                ++listUiGeneration_;
                if (what == static_cast<int>(DocChange::Everything)) refreshAllPanels();
                else refreshPointPanels();
            });
        }
        createMenus();
        updateCommandUi();
    });
    new LetterShortcutFilter(*this);
    clipboardSeen_.block = QtClipboardPort().readBlock();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        clipboardSeen_.block = QtClipboardPort().readBlock();
        ++listUiGeneration_;
    });
    resize(1280, 860);
}

CMainFrame::~CMainFrame() {
    // the windows that close with the frame must not ask for command states any more
    destroying_ = true;
    uiTimer_->stop();
    disconnect(mdi_, nullptr, this, nullptr);
}

QAction* CMainFrame::action(int id) const {
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
        auto* a = new QAction(QString::fromUtf8(c.menuText), this);
        a->setObjectName(QString("cmd_%1").arg(c.id));
        a->setData(c.id);
        if (*c.accel) a->setShortcut(QKeySequence(QString::fromUtf8(c.accel)));
        QString tip = *c.shortName ? QString::fromUtf8(c.shortName) : stripMnemonic(a->text());
        a->setToolTip(tip);
        a->setStatusTip(tip);
        auto ti = themeIcons().find(c.id);
        QIcon icon = ti != themeIcons().end() ? QIcon::fromTheme(ti->second) : QIcon();
        if (icon.isNull()) icon = glyphIcon(stripMnemonic(a->text()), tintFor(c.id));
        a->setIcon(icon);
        a->setIconVisibleInMenu(true);
        const int id = c.id;
        connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
        actions_[c.id] = a;
        addAction(a);  // shortcuts work wherever the focus is
    }
    for (int id : {59393, 59392, 32866, 32865, 32861, 32857, 32858, 32859, 32868, 32869, 32870, 32863, 32864,
                   32796, 32797, 32798, 32834, 32835})
        actions_[id]->setCheckable(true);
    // The second shortcuts of the edit commands.
    actions_[57643]->setShortcuts({QKeySequence("Ctrl+Z"), QKeySequence("Alt+Backspace")});
    actions_[57635]->setShortcuts({QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")});
    actions_[57634]->setShortcuts({QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins")});
    actions_[57637]->setShortcuts({QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins")});
}

void CMainFrame::fillMenu(QMenu* menu, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& e : entries) {
        if (!e.submenuTitle.empty()) {
            QMenu* sub = menu->addMenu(QString::fromStdString(e.submenuTitle));
            fillMenu(sub, e.children);
        } else if (e.id == 0) {
            menu->addSeparator();
        } else if (e.id == 57616) {
            recentMenu_ = menu->addMenu("最近文件");
            rebuildRecentFilesMenu();
        } else if (QAction* a = action(e.id)) {
            if (!e.textOverride.empty()) {
                // the same command under another text in this menu
                auto* alias = new QAction(QString::fromStdString(e.textOverride), menu);
                alias->setData(e.id);
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
    auto* m = new QMenu(QString::fromStdString(def.title), parent);
    fillMenu(m, def.entries);
    return m;
}

void CMainFrame::createMenus() {
    // Without a document the short menu bar is shown.
    bool noDoc = app_.document() == nullptr;
    menuBar()->clear();
    recentMenu_ = nullptr;
    for (const MenuDef& def : noDoc ? noDocumentMenus() : mainMenus()) menuBar()->addMenu(buildMenu(def, menuBar()));
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
        auto* tb = new QToolBar(QString::fromUtf8(t.name), this);
        tb->setObjectName(QString("toolbar_%1").arg(t.resource));
        tb->setIconSize(QSize(20, 20));
        for (int id : t.ids) {
            if (id == 0) tb->addSeparator();
            else if (QAction* a = action(id)) tb->addAction(a);
        }
        toolbars_[t.resource] = tb;
    }
    addToolBar(Qt::TopToolBarArea, toolbars_[128]);
    addToolBarBreak(Qt::TopToolBarArea);
    addToolBar(Qt::TopToolBarArea, toolbars_[181]);
    addToolBar(Qt::TopToolBarArea, toolbars_[188]);  // on the same row, after 波形处理
    addToolBar(Qt::RightToolBarArea, toolbars_[137]);
}

void CMainFrame::createStatusBar() {
    statusBar()->showMessage(kIdleStatusText);
    statusPane_ = new QLabel(kStatusPaneText, this);
    statusPane_->setObjectName("statusPane32799");
    statusPane_->setMinimumWidth(230);
    statusBar()->addPermanentWidget(statusPane_);
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& m) {
        if (m.isEmpty()) statusBar()->showMessage(kIdleStatusText);
    });
}

void CMainFrame::createDocks() {
    auto makeDock = [this](int id, const char* title, QWidget* content, Qt::DockWidgetArea area, QSize size) {
        auto* d = new QDockWidget(QString::fromUtf8(title), this);
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
    pointList_->setContextMenuFactory([this]() -> QMenu* { return buildMenu(contextMenu(165), this); });
    pointList_->setActionGuard([this] {
        for (CSondaraView* v : analysisViews())
            if (!v->concludePendingOperation(nullptr, 0)) return false;
        return true;
    });
    connect(pointList_, &PointListPanel::notify, this, &CMainFrame::onPointListNotify);
    makeDock(101, "测点栏", pointList_, Qt::LeftDockWidgetArea, QSize(160, 260));

    // The processing history and the information pages come with their own work;
    // until then the panels are there, empty and inactive.
    auto* history = new QLabel(this);
    history->setObjectName("ProcessingHistoryPanel");
    history->setEnabled(false);
    makeDock(112, "处理过程", history, Qt::RightDockWidgetArea, QSize(160, 260));

    info_ = new QTabWidget(this);
    info_->setObjectName("InfoTabs");
    for (const char* page : {"工程信息", "测点信息", "分析参数"}) {
        auto* w = new QWidget(info_);
        w->setEnabled(false);
        info_->addTab(w, QString::fromUtf8(page));
    }
    makeDock(102, "信息栏", info_, Qt::BottomDockWidgetArea, QSize(100, 130));
}

bool CMainFrame::hasPoints() const {
    return app_.document() && app_.document()->doc().pointCount() > 0;
}

CSondaraView* CMainFrame::activeAnalysisView() const {
    QMdiSubWindow* sw = mdi_->activeSubWindow();
    if (!sw && !mdi_->subWindowList().isEmpty()) sw = mdi_->subWindowList().first();
    if (!sw) return nullptr;
    return qobject_cast<CSondaraView*>(sw->widget());
}

std::vector<CSondaraView*> CMainFrame::analysisViews() const {
    std::vector<CSondaraView*> v;
    for (QMdiSubWindow* sw : mdi_->subWindowList())
        if (auto* view = qobject_cast<CSondaraView*>(sw->widget())) v.push_back(view);
    return v;
}

QMdiSubWindow* CMainFrame::openChildWindow(bool maximised) {
    DocumentHost* h = app_.document();
    if (!h) return nullptr;
    auto* child = new CChildFrame(*this, *h);
    mdi_->addSubWindow(child);
    if (maximised) child->showMaximized();
    else child->show();
    if (CSondaraView* v = qobject_cast<CSondaraView*>(child->widget())) {
        // a click on a trace of a multi-trace layout selects its point
        connect(v, &CSondaraView::pointSelected, this,
                [this](int index) { onPointListNotify(PointListPanel::SelectPoint, index); });
        v->display()->setCursorStyle(app_.cursorSettings.cursorStyle);
        v->display()->setCursorInfoVisible(cursorInfoVisible_);
    }
    return child;
}

void CMainFrame::closeAllChildWindows() {
    for (QMdiSubWindow* sw : mdi_->subWindowList()) {
        sw->setAttribute(Qt::WA_DeleteOnClose);
        if (auto* c = dynamic_cast<CChildFrame*>(sw)) c->forceClose();
        else sw->close();
    }
}

void CMainFrame::refreshAllPanels() {
    DocumentHost* h = app_.document();
    if (h) {
        pointList_->fill(h->doc());
        pointList_->synchronise(h->doc());
        setWindowTitle(h->title() + " - Sondara");
    } else {
        pointList_->clear();
        setWindowTitle("Sondara");
    }
    refreshPointPanels();
}

void CMainFrame::refreshPointPanels() {
    if (firstPointRefresh_) {
        firstPointRefresh_ = false;
        // 显示调整 stands on the row of 波形处理, directly after it
        insertToolBar(toolbars_[188], toolbars_[188]);
    }
    if (DocumentHost* h = app_.document()) pointList_->synchronise(h->doc());
    updateCommandUi();
}

void CMainFrame::startPointListBusy() {
    pointListBusy_ = true;
    busyTimer_->start();
}

void CMainFrame::onPointListNotify(int code, int index) {
    DocumentHost* h = app_.document();
    if (!h) return;
    CSondaraDoc& d = h->doc();
    startPointListBusy();
    switch (code) {
        case PointListPanel::SelectPoint:
            if (index >= d.pointCount()) return;
            if (d.selectionMode == 1 && d.currentPoint == index) return;  // already current: no redraw
            d.selectPoint(index);
            h->changed(DocChange::Selection);
            break;
        case PointListPanel::SelectPile:
            if (d.selectionMode == 2 && d.currentPile == index) return;
            d.selectPile(index);
            h->changed(DocChange::Selection);
            break;
        case PointListPanel::TickPoint:
        case PointListPanel::UntickPoint:
            if (index >= d.pointCount()) return;
            SetPointTick(d, index, code == PointListPanel::TickPoint);  // an undoable list edit
            ++listUiGeneration_;
            break;
        case PointListPanel::BatchBegin:
            h->beginBatch();
            break;
        case PointListPanel::BatchEnd:
            h->endBatch();
            break;
        default:
            break;
    }
}

bool CMainFrame::forwardToView(int id) {
    CSondaraView* v = activeAnalysisView();
    return v && v->handleCommand(id);
}

void CMainFrame::postCommand(int id) {
    QTimer::singleShot(0, this, [this, id] { runCommand(id); });
}

void CMainFrame::runCommand(int id) {
    // 1. an interactive operation under way may defer the command
    for (CSondaraView* v : analysisViews())
        if (!v->concludePendingOperation(this, id)) return;
    // 2. the short name goes to the run log and becomes the last command
    const CommandInfo* c = findCommand(id);
    if (c && *c->shortName) {
        app_.lastCommandId = id;
        app_.lastCommandName = QString::fromUtf8(c->shortName);
        logLine(c->shortName);
    }
    // 3. route
    auto it = handlers_.find(id);
    if (it != handlers_.end()) {
        it->second();
    } else {
        forwardToView(id);
    }
    ++listUiGeneration_;  // the history stacks change after the document's notification
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
        QMessageBox::information(this, QString(), "请选择要保存的测点");
        return;
    }
    QString path = QFileDialog::getSaveFileName(this, "选择保存", QString(), "QAR数据文件(*.qar);;所有文件 (*.*)",
                                                nullptr, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += ".qar";
    bool ok = SaveChecked(h->doc(), path.toStdString());
    QMessageBox::information(this, QString(), ok ? "保存完成" : "保存失败");
}

void CMainFrame::mergeFiles() {
    if (!app_.saveModified()) return;
    QDialog dlg(this);
    dlg.setWindowTitle("选择加载文件");
    auto* v = new QVBoxLayout(&dlg);
    auto* list = new QListWidget(&dlg);
    v->addWidget(list);
    auto* multi = new QPushButton("多选", &dlg);
    auto* remove = new QPushButton("删除", &dlg);
    auto* row = new QHBoxLayout;
    row->addWidget(multi);
    row->addWidget(remove);
    row->addStretch();
    v->addLayout(row);
    auto* buttons = new QDialogButtonBox(&dlg);
    buttons->addButton("打开", QDialogButtonBox::AcceptRole);
    buttons->addButton("取消", QDialogButtonBox::RejectRole);
    v->addWidget(buttons);
    connect(multi, &QPushButton::clicked, &dlg, [&] {
        for (const QString& f : QFileDialog::getOpenFileNames(&dlg, "多选", QString(), "所有文件(*.*)"))
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
    MergeFiles(h->doc(), paths, prompter);
    h->doc().modified = true;
    refreshAllPanels();
}

void CMainFrame::registerHandlers() {
    auto toggleDock = [this](int id) { return [this, id] { docks_[id]->setVisible(!docks_[id]->isVisible()); }; };
    auto toggleBar = [this](int res) { return [this, res] { toolbars_[res]->setVisible(!toolbars_[res]->isVisible()); }; };
    handlers_ = {
        {57600, [this] { app_.newDocument(); }},
        {57601, [this] { app_.openCommand(); }},
        {57602, [this] { app_.closeDocument(); }},
        {57603, [this] { app_.saveDocument(false); }},
        {57604, [this] { app_.saveDocument(true); }},
        {32849, [this] { saveChecked(); }},
        {32843, [this] { mergeFiles(); }},
        {32884, [this] {
             if (hasPoints()) runSaveResult(app_.document()->doc(), this);
         }},
        {32885, [this] {
             if (hasPoints()) runTextExport(app_.document()->doc(), this);
         }},
        {57665, [this] { close(); }},
        {59393, [this] { statusBar()->setVisible(!statusBar()->isVisible()); }},
        {59392, toggleBar(128)},
        {32866, toggleBar(188)},
        {32865, toggleBar(181)},
        {32861, toggleBar(137)},
        {32857, toggleDock(101)},
        {32858, toggleDock(112)},
        {32859, toggleDock(102)},
        {32868, [this] {
             app_.cursorSettings.cursorStyle = 1;
             QtPrompter p(this);
             saveSettings(app_.cursorSettings, &p);
             for (CSondaraView* v : analysisViews()) v->display()->setCursorStyle(1);
         }},
        {32869, [this] {
             app_.cursorSettings.cursorStyle = 2;
             QtPrompter p(this);
             saveSettings(app_.cursorSettings, &p);
             for (CSondaraView* v : analysisViews()) v->display()->setCursorStyle(2);
         }},
        {32870, [this] {
             cursorInfoVisible_ = !cursorInfoVisible_;
             for (CSondaraView* v : analysisViews()) v->display()->setCursorInfoVisible(cursorInfoVisible_);
         }},
        {57648, [this] { openChildWindow(false); }},
        {57650, [this] { mdi_->cascadeSubWindows(); }},
        {57651, [this] { tileWindows(true); }},
        {57652, [this] { tileWindows(false); }},
        {57649, [this] { mdi_->tileSubWindows(); }},
        {32860, [this] {
             if (analysisViews().empty()) return;
             if (analysisViews().size() == 1) openChildWindow(false);
             tileWindows(true);
         }},
        {32872, [this] { app_.viewLog(); }},
        {32854, [this] { launchTool({"gnome-calculator", "kcalc", "galculator", "mate-calc", "xcalc"}); }},
        {32855, [this] { launchTool({"kolourpaint", "pinta", "mtpaint", "gimp"}); }},
        {32856, [this] { launchTool({"gnome-text-editor", "gedit", "kate", "mousepad", "pluma", "xed", "leafpad"}); }},
        {57667, [this] { app_.helpTopics(); }},
        {57664, [this] { app_.aboutDialog(); }},
        {57670, [this] { app_.helpTopics(); }},
        {57669, [] { QWhatsThis::enterWhatsThisMode(); }},
        {57680, [this] { PaneFocus::move(focusAreasOf(*this), true); }},
        {57681, [this] { PaneFocus::move(focusAreasOf(*this), false); }},
    };
}

void CMainFrame::registerListHandlers() {
    static const ListCommand kList[] = {
        ListCommand::Copy,          ListCommand::Cut,           ListCommand::Paste,
        ListCommand::Insert,        ListCommand::Append,        ListCommand::Delete,
        ListCommand::MoveUp,        ListCommand::MoveDown,      ListCommand::SortAscending,
        ListCommand::SortDescending, ListCommand::TickAll,      ListCommand::UntickAll,
        ListCommand::InvertTicks,   ListCommand::Undo,          ListCommand::Redo,
        ListCommand::Restore,       ListCommand::CopyResult};
    for (ListCommand c : kList) {
        handlers_[static_cast<int>(c)] = [this, c] {
            DocumentHost* h = app_.document();
            if (!h) return;
            QtClipboardPort clip;
            QtPrompter prompter(this);
            runListCommand(c, h->doc(), clip, prompter);
        };
    }
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

CMainFrame::CommandUi CMainFrame::commandUi(int id) const {
    const bool doc = app_.document() != nullptr;
    const bool points = hasPoints();
    CSondaraView* view = activeAnalysisView();
    auto docked = [this](int d) { return docks_.at(d)->isVisible(); };
    auto bar = [this](int r) { return toolbars_.at(r)->isVisible(); };
    switch (id) {
        case 57600: case 57601: case 57665: case 57664: case 57667: case 32843: case 32872:
        case 57670: case 57669: case 57680: case 57681:
        case 32854: case 32855: case 32856:
            return {true, false};
        case 57602: return {doc, false};
        case 57603: case 57604: case 32849: case 32884: case 32885: return {points, false};
        case 59393: return {true, statusBar()->isVisible()};
        case 59392: return {true, bar(128)};
        case 32866: return {true, bar(188)};
        case 32865: return {true, bar(181)};
        case 32861: return {true, bar(137)};
        case 32857: return {true, docked(101)};
        case 32858: return {true, docked(112)};
        case 32859: return {true, docked(102)};
        case 32868: return {doc, app_.cursorSettings.cursorStyle == 1};
        case 32869: return {doc, app_.cursorSettings.cursorStyle == 2};
        case 32870: return {doc, cursorInfoVisible_};
        case 57648: case 57650: case 57651: case 57652: case 57649: case 32860:
            return {doc && !analysisViews().empty(), false};
        default:
            break;
    }
    if (doc && isListCommandId(id)) {
        // The enable rules look at the clipboard as last seen, and are worked out again
        // only when the clipboard or the document changed: a block of thousands of
        // points is not decoded four times a second.
        if (listUiGeneration_ != listUiCacheGeneration_) {
            listUiCache_.clear();
            listUiCacheGeneration_ = listUiGeneration_;
        }
        auto it = listUiCache_.find(id);
        if (it == listUiCache_.end())
            it = listUiCache_
                     .emplace(id, isListCommandEnabled(static_cast<ListCommand>(id), app_.document()->doc(),
                                                       clipboardSeen_))
                     .first;
        return {it->second, false};
    }
    if (view) {
        CSondaraView::CommandState s = view->commandState(id);
        return {s.enabled, s.checked};
    }
    return {false, false};
}

void CMainFrame::updateCommandUi() {
    if (destroying_) return;
    if ((app_.document() == nullptr) != noDocumentMenus_) createMenus();
    for (auto& [id, a] : actions_) {
        CommandUi ui = commandUi(id);
        if (a->isEnabled() != ui.enabled) a->setEnabled(ui.enabled);
        if (a->isCheckable() && a->isChecked() != ui.checked) a->setChecked(ui.checked);
    }
}

void CMainFrame::closeEvent(QCloseEvent* e) {
    for (CSondaraView* v : analysisViews()) {
        if (!v->concludePendingOperation(this, 57665)) {
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
