#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <algorithm>

#include "GuiFixture.h"
#include "core/app/AppPaths.h"
#include "core/app/CommandTable.h"
#include "core/app/RunLog.h"
#include "core/base/TextCodec.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/SondaraApp.h"
#include "gui/display/SondaraView.h"
#include "gui/display/WaveDisp.h"
#include "gui/frame/MainFrame.h"
#include "gui/frame/TextExportDialog.h"
#include "gui/panels/PointListPanel.h"
#include "gui/panels/PointListTableModel.h"
#include "gui/panels/PointListTreeModel.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara::gui {
namespace {

std::string logText() {
    return gbkToUtf8(test::readFile(RunLog::instance().path()));
}

int countOf(const std::string& hay, const std::string& needle) {
    int n = 0;
    for (std::size_t p = hay.find(needle); p != std::string::npos;
         p = hay.find(needle, p + needle.size()))
        ++n;
    return n;
}

// Opens a project of piles A (3 points), B (1), A (1).
struct AppFixture : GuiFixture {
    void SetUp() override {
        GuiFixture::SetUp();
        std::vector<TestPoint> pts{test::simplePoint("A", 64), test::simplePoint("A", 64),
                                   test::simplePoint("A", 64), test::simplePoint("B", 64),
                                   test::simplePoint("A", 64)};
        for (auto& p : pts) p.checked = 1;
        ASSERT_NO_FATAL_FAILURE(open(test::makeDoc(pts)));
    }
};

TEST_F(AppFixture, StartUpLogsAndOpensTheFileOfTheCommandLine) {
    std::string log = logText();
    auto at = [&](const char* s) { return log.find(s); };
    ASSERT_NE(at("Start..."), std::string::npos);
    EXPECT_LT(at("Start..."), at(project.c_str()));
    EXPECT_LT(at(project.c_str()), at("软件启动"));
    EXPECT_LT(at("软件启动"), at("Version=(4.0.1.0)"));
    ASSERT_NE(app->document(), nullptr);
    EXPECT_EQ(app->document()->doc().pointCount(), 5);

    PointListTreeModel* tree = frame().pointList()->treeModel();
    ASSERT_EQ(tree->rowCount(), 3);  // A, B, A
    EXPECT_EQ(tree->pileIndex(0).data().toString(), "A");
    ASSERT_EQ(tree->rowCount(tree->pileIndex(0)), 3);
    EXPECT_EQ(tree->index(2, 0, tree->pileIndex(0)).data().toString(), "#3");
    EXPECT_EQ(tree->index(0, 0, tree->pileIndex(2)).data().toString(), "#1");
    ASSERT_NE(frame().activeAnalysisView(), nullptr);
    EXPECT_EQ(frame().activeAnalysisView()->display()->paneCount(), 1);
}

TEST_F(AppFixture, EveryCommandHasItsActionTextAndShortName) {
    for (const CommandInfo& c : allCommands()) {
        QAction* a = frame().action(c.id);
        ASSERT_NE(a, nullptr) << toInt(c.id);
        EXPECT_EQ(a->text(), QString::fromUtf8(c.menuText)) << toInt(c.id);
        EXPECT_EQ(a->data().toInt(), toInt(c.id));
    }
    // every menu entry and toolbar button names a known command
    std::function<void(const std::vector<MenuEntry>&)> check =
        [&](const std::vector<MenuEntry>& es) {
            for (const MenuEntry& e : es) {
                if (!e.submenuTitle.empty()) {
                    check(e.children);
                } else if (e.id != CommandId::None) {
                    EXPECT_NE(findCommand(e.id), nullptr) << toInt(e.id);
                }
            }
        };
    for (const MenuDef& m : mainMenus()) check(m.entries);
    for (const MenuDef& m : noDocumentMenus()) check(m.entries);
    for (int r : {kMenuInsertStep, kMenuPointList, kMenuDisplay, kMenuPointTable})
        check(contextMenu(r).entries);
    for (const ToolbarDef& t : toolbars())
        for (CommandId id : t.ids) {
            if (id != CommandId::None) {
                EXPECT_NE(findCommand(id), nullptr) << toInt(id);
            }
        }
    EXPECT_EQ(std::string(findCommand(CommandId::ProcFilter)->shortName), "数字滤波");
    EXPECT_EQ(std::string(findCommand(CommandId::DispAlignHead)->shortName), "横向位置.对其桩头");
    EXPECT_EQ(frame().menuBar()->actions().size(), 9);
    // The status bar prompts: the long prompt where the string table has one.
    const std::pair<CommandId, const char*> prompts[] = {
        {CommandId::ProcAmplify, "对波形数据进行指数或现行规律放大处理"},
        {CommandId::ProcFilter, "对波形数据进行数字滤波处理"},
        {CommandId::ProcInvert, "波形反向"},
        {CommandId::FileSaveResult, "保存结果"},
    };
    for (const auto& [cmd, text] : prompts)
        EXPECT_EQ(frame().action(cmd)->statusTip(), QString::fromUtf8(text)) << toInt(cmd);
}

TEST_F(AppFixture, CommandsLogTheirShortNameAndRememberIt) {
    frame().runCommand(CommandId::ViewCursorInfo);  // 光标信息
    EXPECT_NE(logText().find("____显隐游标信息"), std::string::npos);
    EXPECT_EQ(app->lastCommandId, CommandId::ViewCursorInfo);
    EXPECT_EQ(app->lastCommandName, "显隐游标信息");
    std::string before = logText();
    // 保存结果 has no short name; its file dialog is cancelled as soon as it shows
    QTimer::singleShot(50, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    frame().runCommand(CommandId::FileSaveResult);
    EXPECT_EQ(logText(), before);
    EXPECT_EQ(app->lastCommandId, CommandId::ViewCursorInfo);
}

TEST_F(AppFixture, LetterShortcutRunsOnReleaseOnlyWithTheDisplayFocused) {
    int runs = 0;
    frame().commands().add({CommandId::ProcFilter, [&runs] { ++runs; }, {}, {}});
    CWaveDisp* disp = frame().activeAnalysisView()->display();
    frame().show();
    disp->setFocus();
    QApplication::processEvents();
    RunLog::instance().setClock([] { return std::time_t(1000); });
    int before = countOf(logText(), "数字滤波");
    QTest::keyPress(disp, Qt::Key_F);
    QApplication::processEvents();
    EXPECT_EQ(countOf(logText(), "数字滤波"), before);  // nothing on press
    QTest::keyRelease(disp, Qt::Key_F);
    QApplication::processEvents();
    EXPECT_EQ(countOf(logText(), "数字滤波"), before + 1);
    EXPECT_EQ(runs, 1);

    // typed into an edit field, the letter is text
    QLineEdit edit(&frame());
    edit.show();
    edit.setFocus();
    QApplication::processEvents();
    RunLog::instance().setClock([] { return std::time_t(2000); });
    QTest::keyClick(&edit, Qt::Key_F);
    QApplication::processEvents();
    EXPECT_EQ(edit.text(), "f");
    EXPECT_EQ(countOf(logText(), "数字滤波"), before + 1);
    RunLog::instance().setClock({});
}

TEST_F(AppFixture, ToolbarsStandInTheirRowsAtStartAndAfterToggling) {
    frame().resize(1400, 900);
    frame().show();
    QApplication::processEvents();
    QToolBar* mainBar = frame().toolbar(kToolbarMain);
    QToolBar* processing = frame().toolbar(kToolbarProcessing);
    QToolBar* display = frame().toolbar(kToolbarDisplay);
    QToolBar* analysis = frame().toolbar(kToolbarAnalysis);
    auto check = [&](const char* when) {
        SCOPED_TRACE(when);
        // a picture to look at when SONDARA_SCREENSHOT_DIR is set
        if (const QByteArray d = qgetenv("SONDARA_SCREENSHOT_DIR"); !d.isEmpty())
            frame().grab().save(QString::fromUtf8(d) + "/toolbars-" + when + ".png");
        const QRect menu = frame().menuBar()->geometry();
        for (QToolBar* t : {mainBar, processing, display, analysis}) {
            EXPECT_TRUE(t->isVisible()) << t->windowTitle().toStdString();
            EXPECT_GT(t->width(), 20) << t->windowTitle().toStdString();
            EXPECT_GE(t->geometry().top(), menu.bottom()) << t->windowTitle().toStdString();
        }
        EXPECT_EQ(frame().toolBarArea(display), Qt::TopToolBarArea);
        EXPECT_EQ(frame().toolBarArea(analysis), Qt::RightToolBarArea);
        // 主控制 on the first row; 波形处理 and then 显示调整 on the second.
        EXPECT_LT(mainBar->geometry().top(), processing->geometry().top());
        EXPECT_EQ(display->geometry().top(), processing->geometry().top());
        EXPECT_GE(display->geometry().left(), processing->geometry().right());
        EXPECT_FALSE(display->geometry().intersects(processing->geometry()));
        EXPECT_FALSE(display->geometry().intersects(mainBar->geometry()));
    };
    check("start");
    for (CommandId toggle : {CommandId::ViewDisplayToolbar, CommandId::ViewProcessingToolbar,
                             CommandId::ViewMainToolbar, CommandId::ViewAnalysisToolbar}) {
        frame().runCommand(toggle);  // hidden
        QApplication::processEvents();
        frame().runCommand(toggle);  // shown again
        QApplication::processEvents();
    }
    check("toggled");
}

TEST_F(AppFixture, TitleLosesItsMarkerWhenSaved) {
    EXPECT_FALSE(frame().isWindowModified());
    EXPECT_TRUE(frame().windowTitle().contains("[*]"));
    frame().runCommand(CommandId::ProcInvert);  // 波形反向 changes the project
    QApplication::processEvents();
    ASSERT_TRUE(doc().modified);
    EXPECT_TRUE(frame().isWindowModified());
    ASSERT_TRUE(app->saveDocument(false));  // to the file it was opened from
    EXPECT_FALSE(doc().modified);
    EXPECT_FALSE(frame().isWindowModified());
}

TEST_F(AppFixture, UserSettingsLiveInTheSettingsFolder) {
    app->addRecentFile(QString::fromStdString(project));
    const QString ini = QString::fromStdString(settingsDir()) + "QAR.ini";
    ASSERT_TRUE(QFileInfo::exists(ini));
    {
        QSettings s(ini, QSettings::IniFormat);
        EXPECT_EQ(s.value("Version/VER0").toInt(), 4);  // written at start-up
        EXPECT_TRUE(s.value("Recent File List/files")
                        .toStringList()
                        .contains(QFileInfo(QString::fromStdString(project)).absoluteFilePath()));
    }
    // nothing of it in the user's configuration folder
    const char* config = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(config, nullptr);
    EXPECT_FALSE(QFileInfo::exists(QString(config) + "/Dorvanel"));
    // a run given another settings folder has settings of its own
    const std::string before = std::getenv("SONDARA_SETTINGS_DIR");
    test::TempDir other;
    ::setenv("SONDARA_SETTINGS_DIR", other.path().c_str(), 1);
    EXPECT_TRUE(app->recentFiles().isEmpty());
    ::setenv("SONDARA_SETTINGS_DIR", before.c_str(), 1);
    EXPECT_FALSE(app->recentFiles().isEmpty());
}

TEST_F(AppFixture, SelectingTheCurrentPointAgainCausesNoRefresh) {
    DocumentHost* h = app->document();
    int notifications = 0;
    QObject::connect(h, &DocumentHost::documentChanged,
                     [&](const DocChangeEvent&) { ++notifications; });
    ASSERT_EQ(h->doc().currentPoint, 0);
    frame().onPointListNotify(PointListPanel::SelectPoint, 0);
    EXPECT_EQ(notifications, 0);
    frame().onPointListNotify(PointListPanel::SelectPoint, 3);
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(h->doc().currentPoint, 3);
    frame().onPointListNotify(PointListPanel::SelectPoint, 99);  // beyond the list
    EXPECT_EQ(h->doc().currentPoint, 3);
    frame().onPointListNotify(PointListPanel::SelectPile, 1);
    EXPECT_EQ(h->doc().selectionMode, 2);
    EXPECT_EQ(h->doc().currentPoint, 3);
}

TEST_F(AppFixture, CopyEnablesPasteAndEditsAreUndoable) {
    frame().updateCommandUi();
    QAction* paste = frame().action(CommandId::EditPaste);
    QAction* undo = frame().action(CommandId::EditUndo);
    EXPECT_FALSE(undo->isEnabled());
    frame().runCommand(CommandId::EditCopy);  // 复制 the current point
    QApplication::processEvents();
    frame().updateCommandUi();
    EXPECT_TRUE(paste->isEnabled());
    frame().runCommand(CommandId::EditAppend);  // 添加 after the current point
    EXPECT_EQ(app->document()->doc().pointCount(), 6);
    frame().updateCommandUi();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(frame().pointList()->listModel()->rowCount(), 6);
    frame().runCommand(CommandId::EditUndo);  // 撤销
    EXPECT_EQ(app->document()->doc().pointCount(), 5);
    EXPECT_EQ(frame().pointList()->listModel()->rowCount(), 5);
}

TEST_F(AppFixture, TickingAPileSendsOneBatch) {
    PointListPanel* panel = frame().pointList();
    std::vector<std::pair<int, int>> sent;  // (code, index) as the frame's notification codes
    QObject::connect(panel, &PointListPanel::batchBegin, [&] { sent.emplace_back(10, 0); });
    QObject::connect(panel, &PointListPanel::batchEnd, [&] { sent.emplace_back(11, 0); });
    QObject::connect(panel, &PointListPanel::pointTicked,
                     [&](int i, bool t) { sent.emplace_back(t ? 1 : 2, i); });
    PointListTreeModel* tree = panel->treeModel();
    const QModelIndex pileA = tree->pileIndex(0);
    auto state = [](const QModelIndex& i) { return i.data(Qt::CheckStateRole).toInt(); };
    auto click = [&](const QModelIndex& i, Qt::CheckState s) {
        tree->setData(i, s, Qt::CheckStateRole);
    };
    ASSERT_EQ(state(pileA), Qt::Checked);
    click(pileA, Qt::Unchecked);  // as a click on its check box
    std::vector<std::pair<int, int>> expect{{10, 0}, {2, 0}, {2, 1}, {2, 2}, {11, 0}};
    EXPECT_EQ(sent, expect);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(app->document()->doc().points[i].checked, 0);
    EXPECT_EQ(app->document()->doc().checkedList, (std::vector<int>{3, 4}));
    EXPECT_EQ(state(tree->pointIndex(1)), Qt::Unchecked);

    // ticking one child of an unticked pile leaves the pile item as it was (mixed),
    // ticking all children ticks it
    sent.clear();
    click(tree->pointIndex(0), Qt::Checked);
    EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{1, 0}}));
    EXPECT_EQ(state(pileA), Qt::Unchecked);
    click(tree->pointIndex(1), Qt::Checked);
    click(tree->pointIndex(2), Qt::Checked);
    EXPECT_EQ(state(pileA), Qt::Checked);
    click(tree->pointIndex(1), Qt::Unchecked);
    EXPECT_EQ(state(pileA), Qt::Checked);  // mixed keeps the state
}

TEST(TextExportDialogTest, ShowsAndReadsBackTheOptions) {
    TextExportSettings s = defaultTextExportSettings();
    s.header = false;
    s.timeColumn = true;
    s.source = TextSource::All;
    s.path = "/tmp/x.txt";
    TextExportDialog dlg(s);
    TextExportForm f = dlg.form();
    EXPECT_FALSE(f.header);
    EXPECT_TRUE(f.timeColumn);
    EXPECT_EQ(f.separator, " (空格)");  // a single blank is shown by its label
    EXPECT_EQ(f.source, 2);
    EXPECT_EQ(f.path, "/tmp/x.txt");
    TextExportSettings out;
    EXPECT_EQ(validateTextExportForm(f, out), "");
    EXPECT_EQ(out.separator, " ");
}

TEST(FileTypeRegistration, RewrittenOnlyWhenTheProgramMoves) {
    EXPECT_TRUE(CSondaraApp::ensureFileTypeRegistration("/opt/a/sondara"));
    EXPECT_FALSE(CSondaraApp::ensureFileTypeRegistration("/opt/a/sondara"));
    EXPECT_TRUE(CSondaraApp::ensureFileTypeRegistration("/opt/b/sondara"));
}

TEST_F(AppFixture, LettersWithCtrlAltOrMetaNeverRunALetterCommand) {
    // Every letter command only records that it ran. The keys are sent to the display
    // as the window system delivers them (the chord's press as a shortcut override,
    // since the accelerator takes the press itself), so no menu opens here.
    std::vector<CommandId> ran;
    for (const LetterShortcut& l : letterShortcuts()) {
        const CommandId id = l.command;
        frame().commands().add({id, [&ran, id] { ran.push_back(id); }, {}, {}});
    }
    frame().updateCommandUi();
    CWaveDisp* disp = frame().activeAnalysisView()->display();
    frame().show();
    QApplication::setActiveWindow(&frame());
    disp->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), disp);
    auto send = [disp](QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers m) {
        QKeyEvent e(type, key, m);
        QApplication::sendEvent(disp, &e);
    };
    const Qt::KeyboardModifier modifiers[] = {Qt::ControlModifier, Qt::AltModifier,
                                              Qt::MetaModifier};
    for (const LetterShortcut& l : letterShortcuts()) {
        const auto key = static_cast<Qt::Key>(Qt::Key_A + (l.key - 'A'));
        for (Qt::KeyboardModifier m : modifiers) {
            for (bool letGoFirst : {false, true}) {
                ran.clear();
                send(QEvent::ShortcutOverride, key, m);
                send(QEvent::KeyRelease, key, letGoFirst ? Qt::NoModifier : m);
                QApplication::processEvents();
                EXPECT_TRUE(ran.empty()) << l.key << " with modifier " << m
                                         << (letGoFirst ? ", modifier let go first" : "");
            }
        }
        // the plain letter still runs its command
        ran.clear();
        send(QEvent::KeyPress, key, Qt::NoModifier);
        send(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::processEvents();
        EXPECT_EQ(ran, std::vector<CommandId>{l.command}) << l.key;
    }
}

}  // namespace
}  // namespace sondara::gui
