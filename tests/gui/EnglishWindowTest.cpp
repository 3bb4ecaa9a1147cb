// The window in English: with the English translation loaded, no Chinese is left in
// the menus, tool bars, panels and the dialogs and messages the commands open, each
// menu keeps its accelerators unique, and the Chinese window stays as it was.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <functional>
#include <map>
#include <memory>

#include "GuiFixture.h"
#include "core/app/CommandTable.h"
#include "core/base/TextCodec.h"
#include "core/display/PaneTexts.h"
#include "core/model/NameLists.h"
#include "core/output/PrintSettings.h"
#include "gui/analysis/DefectDialog.h"
#include "gui/app/SondaraApp.h"
#include "gui/app/Translation.h"
#include "gui/app/UserSettings.h"
#include "gui/interpret/InterpretationPanel.h"
#include "gui/panels/InfoBar.h"
#include "gui/panels/InfoGridDelegate.h"
#include "gui/panels/InfoGridModel.h"
#include "gui/panels/InfoGridView.h"
#include "gui/panels/InfoPanelCommands.h"
#include "gui/print/HeaderTableDialog.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara::gui {
namespace {

bool hasChinese(const QString& s) {
    static const QRegularExpression cjk(
        QStringLiteral("[\\x{3000}-\\x{303F}\\x{4E00}-\\x{9FFF}\\x{FF01}-\\x{FF5E}]"));
    return s.contains(cjk);
}

// Every text of `root` and its children a user reads: titles, captions, buttons, tabs,
// headers, tips, accessible names and the entries of lists that are choices of the
// window. Entries that are data (names from the project, the page numbers as the
// printed Chinese page writes them) are marked "sondaraDataTexts" and not read; Qt's
// own file dialog shows the user's files and only its title is read.
QStringList chineseTexts(QWidget* root) {
    QStringList found;
    const auto check = [&](QWidget* w, const QString& what, const QString& text) {
        if (hasChinese(text))
            found << QStringLiteral("%1 %2 %3: %4")
                         .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(),
                              what, text);
    };
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        if (qobject_cast<QFileDialog*>(w)) {
            check(w, "title", w->windowTitle());
            continue;
        }
        bool inFileDialog = false;
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            inFileDialog = inFileDialog || qobject_cast<QFileDialog*>(p);
        if (inFileDialog) continue;
        if (w->isWindow()) check(w, "title", w->windowTitle());
        check(w, "tip", w->toolTip());
        check(w, "accessible name", w->accessibleName());
        if (auto* l = qobject_cast<QLabel*>(w)) check(w, "text", l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w)) check(w, "text", b->text());
        if (auto* g = qobject_cast<QGroupBox*>(w)) check(w, "title", g->title());
        if (auto* e = qobject_cast<QLineEdit*>(w)) check(w, "placeholder", e->placeholderText());
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i) check(w, "tab", t->tabText(i));
        if (auto* d = qobject_cast<QDockWidget*>(w)) check(w, "title", d->windowTitle());
        if (auto* h = qobject_cast<QHeaderView*>(w); h && h->model())
            for (int i = 0; i < h->count(); ++i)
                check(w, "header", h->model()->headerData(i, h->orientation()).toString());
        if (auto* c = qobject_cast<QComboBox*>(w); c && !c->property("sondaraDataTexts").toBool())
            for (int i = 0; i < c->count(); ++i) check(w, "item", c->itemText(i));
        for (QAction* a : w->actions()) {
            check(w, "action", a->text());
            check(w, "action tip", a->toolTip());
        }
    }
    return found;
}

// The accelerator letter of a menu text ("Save &As..." -> 'A'); 0 when it has none.
QChar accelerator(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return text[i + 1].toUpper();
    }
    return {};
}

// Walks a menu and its submenus: no Chinese in the texts, tips and status prompts, and
// no accelerator used twice in the same menu.
void checkMenu(QMenu* menu, const QString& path, QStringList& faults) {
    emit menu->aboutToShow();  // the entries enabled and the recent files filled as when opened
    std::map<QChar, QString> used;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        const QString where = path + " > " + a->text();
        for (const QString& t : {a->text(), a->toolTip(), a->statusTip()})
            if (hasChinese(t)) faults << where + ": " + t;
        if (const QChar k = accelerator(a->text()); !k.isNull()) {
            auto [it, fresh] = used.emplace(k, a->text());
            if (!fresh)
                faults << path + ": accelerator " + QString(k) + " of both " + it->second +
                              " and " + a->text();
        }
        if (a->menu()) checkMenu(a->menu(), where, faults);
    }
}

QStringList menuBarFaults(CMainFrame& frame) {
    QStringList faults;
    std::map<QChar, QString> used;
    for (QAction* a : frame.menuBar()->actions()) {
        if (hasChinese(a->text())) faults << "menu bar: " + a->text();
        if (const QChar k = accelerator(a->text());
            !k.isNull() && !used.emplace(k, a->text()).second)
            faults << QStringLiteral("menu bar: accelerator %1 twice").arg(k);
        if (a->menu()) checkMenu(a->menu(), a->text(), faults);
    }
    return faults;
}

// The window built with the English translation loaded, as under LANGUAGE=en; the
// translators of the other tests are put back afterwards.
struct EnglishWindow : GuiFixture {
    bool hadQtChinese = false;
    void SetUp() override {
        hadQtChinese = qtChineseTranslationsLoaded();
        ASSERT_EQ(installTranslations(UiLanguage::English), UiLanguage::English);
        GuiFixture::SetUp();
        std::vector<TestPoint> pts = {pileTrace("1", 4000, 0.3f), pileTrace("1", 4000, 0.3f),
                                      pileTrace("2", 4000, 0.3f)};
        ASSERT_NO_FATAL_FAILURE(open(test::makeDoc(pts), QSize(1200, 800)));
    }
    void TearDown() override {
        GuiFixture::TearDown();
        removeTranslations();
        if (hadQtChinese) loadQtChineseTranslations();
    }

    // Runs `step`; every modal window it opens (dialog, message, question) is read and
    // then closed. Returns the class names of the windows seen, in order.
    QStringList runAndRead(const std::function<void()>& step, QStringList& faults) {
        QStringList seen;
        QPointer<QWidget> last;
        QTimer watcher;
        watcher.setInterval(10);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            QWidget* w = QApplication::activeModalWidget();
            if (!w || w == last) return;
            last = w;
            seen << QString::fromLatin1(w->metaObject()->className());
            faults << chineseTexts(w);
            // SONDARA_TEST_SHOTS=DIR: a picture of each window, to look at the layouts
            if (const QString shots = qEnvironmentVariable("SONDARA_TEST_SHOTS"); !shots.isEmpty())
                w->grab().save(QStringLiteral("%1/%2-%3.png")
                                   .arg(shots)
                                   .arg(seen.size())
                                   .arg(seen.last().section(':', -1)));
            if (auto* d = qobject_cast<QDialog*>(w))
                d->reject();
            else
                w->close();
        });
        watcher.start();
        step();
        QApplication::processEvents();
        watcher.stop();
        return seen;
    }
    QStringList runAndRead(CommandId id, QStringList& faults) {
        return runAndRead([this, id] { frame().runCommand(id); }, faults);
    }
};

TEST_F(EnglishWindow, MenusToolbarsAndPanelsSpeakEnglishWithUniqueAccelerators) {
    QStringList titles;
    for (QAction* a : frame().menuBar()->actions()) titles << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&View", "&Processing", "&Analysis",
                                   "&Display", "&Window", "&Tools", "&Help"}));
    QStringList faults = menuBarFaults(frame());
    for (int k : {kMenuInsertStep, kMenuPointList, kMenuDisplay, kMenuPointTable}) {
        std::unique_ptr<QMenu> m(frame().buildMenu(contextMenu(k), &frame()));
        checkMenu(m.get(), m->title(), faults);
    }
    const QList<QToolBar*> bars = frame().findChildren<QToolBar*>();
    EXPECT_EQ(bars.size(), 4);
    for (QToolBar* b : bars) {
        if (hasChinese(b->windowTitle())) faults << "tool bar " + b->windowTitle();
        for (QAction* a : b->actions())
            for (const QString& t : {a->text(), a->toolTip(), a->statusTip(), a->iconText()})
                if (hasChinese(t)) faults << b->windowTitle() + ": " + t;
    }
    // the docks, the analysis bar, the grids, the point list, the processing history
    faults << chineseTexts(&frame());
    EXPECT_EQ(faults.join(QChar(10)).toStdString(), "");

    // without a document: the short menu bar
    frame().runCommand(CommandId::FileClose);
    QApplication::processEvents();
    titles.clear();
    for (QAction* a : frame().menuBar()->actions()) titles << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&View", "&Help"}));
    EXPECT_EQ(menuBarFaults(frame()).join(QChar(10)).toStdString(), "");
}

TEST_F(EnglishWindow, DialogsAndMessagesOfTheCommandsSpeakEnglish) {
    struct Case {
        CommandId command;
        const char* firstWindow;  // the class of the first modal window it opens
    };
    const Case cases[] = {
        {CommandId::FileSaveImage, "sondara::gui::SaveImageDialog"},
        {CommandId::FileWordReport, "QMessageBox"},  // no point checked
        {CommandId::FileExcelReport, "QMessageBox"},
        {CommandId::FileExportText, "sondara::gui::TextExportDialog"},
        {CommandId::FileSaveChecked, "QMessageBox"},
        {CommandId::FileMerge, "QDialog"},
        {CommandId::FileImportTraces, "QFileDialog"},
        {CommandId::FilePrintSetup, "sondara::gui::PrintSetupDialog"},
        {CommandId::EditSettings, "sondara::gui::EditSettingsDialog"},
        {CommandId::HelpAbout, "sondara::gui::AboutDialog"},
        {CommandId::MarkAutoHead, "sondara::gui::AutoHeadDialog"},
        {CommandId::MarkAutoToe, "sondara::gui::AutoToeDialog"},
        {CommandId::ToolTransfer, "sondara::gui::TransferDialog"},
        {CommandId::ProcFilter, "sondara::gui::StepParamDialog"},
        {CommandId::ProcAmplify, "sondara::gui::StepParamDialog"},
        {CommandId::ProcRemoveDc, "sondara::gui::StepParamDialog"},
        {CommandId::ProcSmooth, "sondara::gui::StepParamDialog"},
        {CommandId::ProcRotate, "sondara::gui::StepParamDialog"},
        {CommandId::ProcLinearZero, "sondara::gui::StepParamDialog"},
        {CommandId::ProcZeroFront, "sondara::gui::StepParamDialog"},
        {CommandId::ProcLocalScale, "sondara::gui::StepParamDialog"},
        {CommandId::ProcShift, "sondara::gui::StepParamDialog"},
    };
    for (const Case& c : cases) {
        QStringList faults;
        const QStringList seen = runAndRead(c.command, faults);
        const std::string name = trCore(findCommand(c.command)->shortName).toStdString();
        ASSERT_FALSE(seen.isEmpty()) << name;
        EXPECT_EQ(seen.first(), c.firstWindow) << name;
        EXPECT_EQ(faults.join(QChar(10)).toStdString(), "") << name;
    }
    // the dialogs opened from other dialogs and from the analysis bar
    QStringList faults;
    EXPECT_EQ(runAndRead([this] { RunDisplaySettings(*disp(), &frame()); }, faults),
              QStringList({"sondara::gui::DisplaySettingsDialog"}));
    HeaderTableDialog header{PrintSettings{}};
    faults << chineseTexts(&header);
    InterpretationPanel interpretation;  // the panel of 自动判读's results
    faults << chineseTexts(&interpretation);
    EXPECT_EQ(faults.join(QChar(10)).toStdString(), "");
}

// The core's texts are translated where the window shows them; what the core keeps,
// compares and writes stays the Chinese text.
TEST_F(EnglishWindow, CoreTextsAreTranslatedOnlyWhereShown) {
    EXPECT_EQ(trCore(kIdleStatusText), "--Dorvanel Instruments, serving construction in China");
    EXPECT_EQ(trCore("缩径"), "Necking");
    EXPECT_STREQ(findCommand(CommandId::DefectNecking)->shortName, "缩径");
    EXPECT_EQ(trCore("a text the translation does not know"),
              "a text the translation does not know");
    EXPECT_EQ(frame().action(CommandId::DefectNecking)->text(), "&Necking");
}

// A point with what the program names itself (a standard pile type, a standard defect,
// a low-pass filter) and what the user named (a defect of his own), in both languages.
struct EnglishPanes : GuiFixture {
    bool hadQtChinese = false;
    void SetUp() override {
        hadQtChinese = qtChineseTranslationsLoaded();
        ASSERT_EQ(installTranslations(UiLanguage::English), UiLanguage::English);
        GuiFixture::SetUp();
        TestPoint p = pileTrace("7", 4000, 0.3f);
        p.pileDiameter = 600;
        p.pileTypeIndex = 1;
        p.sensorType = 1;
        ProcessStep filter;
        filter.kind = static_cast<int>(ProcessKind::Filter);
        filter.filterType = 1;
        filter.upperFreqHz = 1000.0f;
        p.steps.push_back(filter);
        p.lastParams.filterType = 1;
        p.lastParams.upperFreqHz = 1000.0f;
        for (auto [name, position] : {std::pair{"缩径", 150}, std::pair{"蜂窝", 200}}) {
            PileMark m;
            m.position = position;
            m.kind = std::string(name) == "缩径" ? 2 : 100;
            setText(m.name, utf8ToGbk(name));
            p.defects.push_back(m);
        }
        ASSERT_NO_FATAL_FAILURE(open(test::makeDoc({p}), QSize(1200, 800)));
    }
    void TearDown() override {
        GuiFixture::TearDown();
        removeTranslations();
        if (hadQtChinese) loadQtChineseTranslations();
    }
    std::vector<std::string> info() {
        return InfoText(doc(), model().ensurePane(0), {31, 32, 33, 34, 36, 37, 3, 8, 44});
    }
    InfoGridModel* grid(GridTable t) {
        return frame().findChild<InfoBar*>("InfoTabs")->grid(t)->gridModel();
    }
};

TEST_F(EnglishPanes, StandardTextsSpeakEnglishAndTheUsersNamesStayAsStored) {
    const WavePane& w = model().ensurePane(0);
    EXPECT_EQ(w.head.label, "Pile Head");
    EXPECT_EQ(w.toe.label, "Pile Toe");
    ASSERT_EQ(w.marks.size(), 2u);
    EXPECT_EQ(w.marks[0].label.rfind("Necking【", 0), 0u) << w.marks[0].label;
    EXPECT_EQ(w.marks[1].label.rfind("蜂窝【", 0), 0u) << w.marks[1].label;
    const std::vector<std::string> english = {"Pile No.:7",
                                              "Dia.=600mm",
                                              "Length=10.40m",
                                              "Speed=4000m/s",
                                              "Bored cast-in-place pile",
                                              "Velocity",
                                              "Low-pass:1000.00Hz",
                                              "DC removed: no",
                                              "Defects:",
                                              "  1:Necking,0.00m",
                                              "  2:蜂窝,0.00m"};
    EXPECT_EQ(info(), english);

    // the grids: standard values in English, the editor starts from the stored name
    InfoGridModel* points = grid(GridTable::Points);
    const QModelIndex type = points->index(0, kPointColPileType);
    EXPECT_EQ(type.data(Qt::DisplayRole).toString(), "Bored cast-in-place pile");
    EXPECT_EQ(type.data(Qt::EditRole).toString(), "钻孔灌注桩");
    EXPECT_EQ(points->index(0, kPointColSensor).data().toString(), "Velocity");
    EXPECT_EQ(points->index(0, kPointColClass).data().toString(), "Not determined");
    EXPECT_EQ(grid(GridTable::Parameters)->index(0, 1).data().toString(), "Low-pass:1000.00Hz");
    EXPECT_EQ(grid(GridTable::Parameters)->index(0, 3).data().toString(), "DC removed: no");
    InfoGridDelegate delegate(GridTable::Points);
    QWidget parent;
    std::unique_ptr<QWidget> editor(delegate.createEditor(&parent, QStyleOptionViewItem(), type));
    auto* combo = qobject_cast<QComboBox*>(editor.get());
    ASSERT_NE(combo, nullptr);
    delegate.setEditorData(combo, type);
    EXPECT_EQ(combo->currentText(), "Bored cast-in-place pile");
    EXPECT_FALSE(hasChinese(combo->itemText(0)));
    combo->setCurrentIndex(2);
    delegate.setModelData(combo, points, type);
    EXPECT_EQ(doc().points[0].pileTypeIndex, 2);
    EXPECT_EQ(gbkToUtf8(textOf(doc().points[0].pileTypeText)), "人工挖孔灌注桩");
    // a standard value pasted in English is stored as if chosen
    ASSERT_TRUE(points->setData(type, "Precast concrete pile", Qt::EditRole));
    EXPECT_EQ(doc().points[0].pileTypeIndex, 5);
    ASSERT_TRUE(points->setData(points->index(0, kPointColClass), "Class II", Qt::EditRole));
    EXPECT_EQ(doc().points[0].integrityClass, 2);
    ASSERT_TRUE(points->setData(type, "人工挖孔灌注桩", Qt::EditRole));

    // the defect dialog: the standard names in English, stored in Chinese
    DefectDialog dialog({"缩径", "裂纹", "蜂窝"}, "1.00m");
    auto* names = dialog.findChild<QComboBox*>();
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names->itemText(0), "Necking");
    EXPECT_EQ(names->itemText(2), "蜂窝");
    const std::pair<const char*, const char*> chosen[] = {
        {"缩径", "缩径"}, {"Crack", "裂纹"}, {"蜂窝", "蜂窝"}, {"Necking", "缩径"}, {"pit", "pit"}};
    for (auto [set, stored] : chosen) {
        dialog.setName(QString::fromUtf8(set));
        EXPECT_EQ(dialog.name().toStdString(), stored) << set;
    }
    dialog.setName("缩径");
    EXPECT_EQ(names->currentText(), "Necking");

    // what the file keeps is untouched, and the Chinese window reads as it always did
    EXPECT_EQ(gbkToUtf8(textOf(doc().points[0].defects[0].name)), "缩径");
    removeTranslations();
    model().rebuild(doc());
    EXPECT_EQ(model().ensurePane(0).head.label, "桩头");
    EXPECT_EQ(info(),
              std::vector<std::string>({"桩号:7", "桩径=600mm", "桩长=10.40m", "波速=4000m/s",
                                        "人工挖孔灌注桩", "速度", "低通:1000.00Hz", "去直流:否",
                                        "缺陷:", "  1:缩径,0.00m", "  2:蜂窝,0.00m"}));
}
}  // namespace

// The language asked for: SONDARA_LANGUAGE first, then the settings file, whatever the
// locale says; removing the translation gives back the Chinese texts.
TEST(WindowLanguage, TheEnvironmentThenTheSettingsFileChoose) {
    test::TempDir dir;
    const QByteArray oldDir = qgetenv("SONDARA_SETTINGS_DIR");
    const QByteArray oldLang = qgetenv("SONDARA_LANGUAGE");
    qputenv("SONDARA_SETTINGS_DIR", QByteArray::fromStdString(dir.path() + "/"));
    struct Case {
        const char* env;      // SONDARA_LANGUAGE, "" unset
        const char* setting;  // [Interface] Language, "" none
        UiLanguage expected;
    };
    const Case cases[] = {
        {"en", "", UiLanguage::English},      {"zh", "en", UiLanguage::Chinese},
        {"en_GB", "zh", UiLanguage::English}, {"", "en", UiLanguage::English},
        {"", "zh_CN", UiLanguage::Chinese},   {"zh_TW.UTF-8", "", UiLanguage::Chinese}};
    for (const Case& c : cases) {
        if (*c.env)
            qputenv("SONDARA_LANGUAGE", c.env);
        else
            qunsetenv("SONDARA_LANGUAGE");
        {
            QSettings s = userSettings();
            if (*c.setting)
                s.setValue("Interface/Language", c.setting);
            else
                s.remove("Interface/Language");
        }
        EXPECT_EQ(chosenLanguage(), c.expected) << c.env << " / " << c.setting;
    }
    const bool hadQtChinese = qtChineseTranslationsLoaded();
    installTranslations(UiLanguage::English);
    EXPECT_EQ(trCore("文件(&F)"), "&File");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    installTranslations(UiLanguage::Chinese);
    EXPECT_EQ(trCore("文件(&F)"), "文件(&F)");
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "取消");
    removeTranslations();
    if (hadQtChinese) loadQtChineseTranslations();
    qputenv("SONDARA_SETTINGS_DIR", oldDir);
    if (oldLang.isEmpty())
        qunsetenv("SONDARA_LANGUAGE");
    else
        qputenv("SONDARA_LANGUAGE", oldLang);
}

}  // namespace sondara::gui
