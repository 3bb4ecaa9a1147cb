// The output dialogs and commands of the desktop: 保存图形, 工程信息, 生成报告, 生成报表,
// with the save dialog and the default program replaced.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "GuiFixture.h"
#include "core/base/TextCodec.h"
#include "core/output/ReportTable.h"
#include "gui/app/DocumentHost.h"
#include "gui/app/SondaraApp.h"
#include "gui/frame/MainFrame.h"
#include "gui/output/OutputCommands.h"
#include "gui/output/ReportInfoDialog.h"
#include "gui/output/SaveImageDialog.h"
#include "gui/panels/DateLineEdit.h"
#include "render/DisplayRenderer.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara::gui {
namespace {

template <typename W>
W* byName(QWidget& parent, const QString& name) {
    for (W* w : parent.findChildren<W*>())
        if (w->accessibleName() == name) return w;
    return nullptr;
}

QPushButton* button(QWidget& parent, const QString& text) {
    for (QPushButton* b : parent.findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

// Closes the message box that the next step shows and keeps its text.
struct MessageCatcher {
    QString text;
    void arm() {
        QTimer::singleShot(0, [this] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                for (QObject* c : w->findChildren<QObject*>())
                    if (auto* l = qobject_cast<QLabel*>(c); l && !l->text().isEmpty())
                        text = l->text();
                w->close();
            }
        });
    }
};

TEST(SaveImageDialogUi, ColumnsSizesDefaultsAndTheSizeCheck) {
    SaveImageForm form({DataSelection::CurrentDisplay, DataSelection::CheckedPoints}, {0, 0}, "/",
                       "/");
    form.setSettings(SaveImageSettings{});
    SaveImageDialog d(form);
    EXPECT_EQ(d.windowTitle(), "保存图形");
    auto combos = d.findChildren<QComboBox*>();
    QComboBox* size = nullptr;
    QComboBox* columns = nullptr;
    for (QComboBox* c : combos) {
        if (c->count() == 12) size = c;
        if (c->count() == 5 && c->itemText(0) == "1") columns = c;
    }
    ASSERT_TRUE(size && columns);
    columns->lineEdit()->setText("3");
    emit columns->lineEdit()->textEdited("3");
    EXPECT_EQ(size->count(), 4);
    EXPECT_EQ(size->itemText(3), "176×400");
    button(d, "默认")->click();
    EXPECT_EQ(size->count(), 12);
    EXPECT_EQ(size->currentText(), "530×145");
    // 当前显示 with a display of 0 x 0: 确定 refuses with the message and stays.
    form.setSelection(DataSelection::CurrentDisplay);
    size->setEditText("0×0");
    MessageCatcher m;
    m.arm();
    d.accept();
    EXPECT_EQ(m.text, "图形尺寸设置不合理！");
    EXPECT_NE(d.result(), QDialog::Accepted);
}

TEST(ReportInfoDialogUi, RecordClampedPassedValuesAndHistories) {
    ReportInfoRecord r;
    r.castingDate = {2020, 13, 5};  // month 13 is not a month
    r.testDate = {2026, 4, 21};
    r.strengthClass = 2;
    r.geology = "粉质黏土";
    r.produceFigures = 0;
    // Written as the record; clamping happens on reading.
    ASSERT_TRUE(saveReportInfoRecord(r, nullptr));
    {
        ReportInfoDialog d("滨江花园", "", 7);
        EXPECT_EQ(d.windowTitle(), "工程信息");
        EXPECT_EQ(byName<DateLineEdit>(d, "浇筑日期")->text(), "2020-01-05");
        EXPECT_EQ(byName<QComboBox>(d, "工程名称")->currentText(), "滨江花园");
        EXPECT_EQ(byName<QComboBox>(d, "强度等级")->currentText(), "C20");
        EXPECT_EQ(byName<QSpinBox>(d, "总桩数")->value(), 7);
        EXPECT_FALSE(d.findChild<QCheckBox*>()->isChecked());
        EXPECT_EQ(byName<QComboBox>(d, "桩基类型")->count(), 9);
        byName<QComboBox>(d, "检测人员")->setEditText("王明");
        d.accept();
        const ReportTexts t = d.texts();
        EXPECT_EQ(t.castingDate, "2020年1月5日");
        EXPECT_EQ(t.testDate, "2026年4月21日");
        EXPECT_EQ(t.strengthClass, "C20");
        EXPECT_EQ(t.totalPiles, "7");
        EXPECT_EQ(t.staff, "王明");
        EXPECT_EQ(t.geology, "粉质黏土");
    }
    ReportInfoRecord back;
    ASSERT_TRUE(loadReportInfoRecord(back));
    EXPECT_EQ(back.castingDate, (ReportDate{2020, 1, 5}));
    EXPECT_EQ(back.totalPiles, 7);
    // The next opening offers the remembered texts.
    ReportInfoDialog again("", "", 3);
    EXPECT_EQ(byName<QComboBox>(again, "检测人员")->currentText(), "王明");
    EXPECT_EQ(byName<QComboBox>(again, "工程名称")->currentText(), "滨江花园");
}

TEST(ReportInfoDialogUi, DatesAreTakenAsTypedOrRefused) {
    ReportInfoDialog d("", "", 3);
    auto* casting = byName<DateLineEdit>(d, "浇筑日期");
    auto* tested = byName<DateLineEdit>(d, "检测日期");
    // A text that is no date: 确定 says so and the dialog stays open.
    casting->setText("2026-02-30");
    MessageCatcher m;
    m.arm();
    d.accept();
    EXPECT_EQ(m.text, QString::fromUtf8(kMsgBadDate));
    EXPECT_NE(d.result(), QDialog::Accepted);
    // Typed in the common forms, key by key, each date stays the date typed.
    casting->clear();
    QTest::keyClicks(casting, "2026/11/05");
    tested->clear();
    QTest::keyClicks(tested, "2025.3.7");
    d.accept();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.texts().castingDate, "2026年11月5日");
    EXPECT_EQ(d.texts().testDate, "2025年3月7日");
}

struct OutputCommandsTest : ::testing::Test {
    test::TempDir dir;
    DocumentHost host;
    OutputShell saved = outputShell();
    QStringList opened;
    void SetUp() override {
        std::vector<TestPoint> pts;
        for (int k = 0; k < 3; ++k) {
            TestPoint p = test::sinePoint(k ? "B2" : "A1", 300, 20, 8.0);
            p.recordedLength = 2;  // the header keeps simplePoint's length
            pts.push_back(std::move(p));
        }
        host.doc() = test::makeDoc(pts);
        setText(host.doc().info.projectName, utf8ToGbk("滨江/花园"));
        host.setPath(QString::fromStdString(dir.file("p.qar")));
        test::writeFile(dir.file("p.qar"), "x");
        outputShell().exec = [](QDialog& d) {
            d.accept();
            return d.result() == QDialog::Accepted;
        };
        outputShell().chooseSavePath = [](QWidget*, const QString& suggested, const QString&) {
            return suggested;
        };
        outputShell().open = [this](const QString& p) {
            opened << p;
            return true;
        };
    }
    void TearDown() override { outputShell() = saved; }
};

TEST_F(OutputCommandsTest, ReportAndTableGoBesideTheProjectAndOpen) {
    MessageCatcher m;
    m.arm();
    runWordReport(nullptr, host, nullptr);
    EXPECT_EQ(m.text, "请选择要生成报告的测点");
    host.doc().checkedList = {0, 2};
    render::DisplayRenderer renderer;
    WaveDisplayModel display(&renderer.metrics());
    display.rebuild(host.doc());
    runWordReport(nullptr, host, &display);
    const QString report = QString::fromStdString(dir.file("滨江_花园-检测报告.docx"));
    ASSERT_EQ(opened, QStringList{report});
    EXPECT_GT(QFileInfo(report).size(), 1000);
    runExcelReport(nullptr, host);
    EXPECT_EQ(opened.back(), QString::fromStdString(dir.file("滨江_花园-检测报表.xlsx")));
    // Cancelling the save dialog writes nothing.
    outputShell().chooseSavePath = [](QWidget*, const QString&, const QString&) {
        return QString();
    };
    runExcelReport(nullptr, host);
    EXPECT_EQ(opened.size(), 2);
}

TEST_F(OutputCommandsTest, SaveImageFilesIntoTheFolderAndOpensIt) {
    host.doc().checkedList = {1};
    host.doc().points[1].checked = 1;
    SaveImageSettings s;
    s.target = 0;
    s.folder = dir.path();
    s.dataSelection = 2;
    ASSERT_TRUE(saveSaveImageSettings(s, nullptr));
    render::DisplayRenderer renderer;
    WaveDisplayModel display(&renderer.metrics());
    display.rebuild(host.doc());
    runSaveImage(nullptr, host, &display);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(dir.file("NO2：B2.bmp"))));
}

// The three commands from the 文件 menu of the running program.
struct OutputMenuCommands : GuiFixture {
    OutputShell saved = outputShell();
    QStringList opened;
    void SetUp() override {
        GuiFixture::SetUp();
        std::vector<TestPoint> pts;
        for (const char* pile : {"A1", "A2", "B1"}) {
            TestPoint p = test::simplePoint(pile, 256);
            p.checked = 1;
            pts.push_back(p);
        }
        CSondaraDoc d = test::makeDoc(pts);
        setText(d.info.projectName, utf8ToGbk("东区"));
        ASSERT_NO_FATAL_FAILURE(launch(d));
        outputShell().exec = [](QDialog& dlg) {
            dlg.accept();
            return dlg.result() == QDialog::Accepted;
        };
        outputShell().chooseSavePath = [](QWidget*, const QString& suggested, const QString&) {
            return suggested;
        };
        outputShell().open = [this](const QString& p) {
            opened << p;
            return true;
        };
    }
    void TearDown() override {
        outputShell() = saved;
        GuiFixture::TearDown();
    }
};

TEST_F(OutputMenuCommands, ReportTableAndPicturesFromTheMenu) {
    CMainFrame& frame = *app->frame();
    ASSERT_TRUE(frame.commands().find(CommandId::FileWordReport));
    ASSERT_TRUE(frame.commands().isEnabled(CommandId::FileWordReport));
    ASSERT_FALSE(app->document()->doc().checkedList.empty());
    frame.runCommand(CommandId::FileWordReport);
    frame.runCommand(CommandId::FileExcelReport);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_TRUE(opened[0].endsWith("东区-检测报告.docx"));
    EXPECT_TRUE(opened[1].endsWith("东区-检测报表.xlsx"));
    EXPECT_TRUE(QFileInfo::exists(opened[0]));
    // 保存图形 with a Word document of the pictures as the remembered target.
    SaveImageSettings s;
    s.target = static_cast<int>(ImageTarget::Word);
    s.wordColumns = 2;
    ASSERT_TRUE(saveSaveImageSettings(s, nullptr));
    frame.runCommand(CommandId::FileSaveImage);
    ASSERT_EQ(opened.size(), 3);
    EXPECT_TRUE(opened[2].endsWith("东区-图形.docx"));
}

}  // namespace
}  // namespace sondara::gui
