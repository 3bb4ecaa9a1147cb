// 文件 → 导入波形…: the dialog asks what the files leave open, and the traces open as
// a new, unsaved project.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include "GuiFixture.h"
#include "gui/app/SondaraApp.h"
#include "gui/app/Translation.h"
#include "gui/importer/ImportTracesDialog.h"
#include "support/Fixtures.h"

namespace sondara::gui {
namespace {

struct ImportTracesTest : GuiFixture {
    void SetUp() override {
        GuiFixture::SetUp();
        ASSERT_NO_FATAL_FAILURE(open(test::makeDoc({test::simplePoint("OLD", 64)})));
        doc().setModified(false);
    }
};

QLineEdit* field(QWidget& w, const QString& name) {
    for (QLineEdit* e : w.findChildren<QLineEdit*>())
        if (e->accessibleName() == name) return e;
    return nullptr;
}

TEST(ImportTracesDialogUi, FieldsHaveBuddiesAndTheIntervalOnlyWhenNeeded) {
    for (bool needed : {true, false}) {
        ImportTracesDialog d({"/x/a.csv"}, needed);
        EXPECT_EQ(d.windowTitle(), "导入波形");
        for (QLabel* l : d.findChildren<QLabel*>())
            if (l->text().contains("(&")) EXPECT_NE(l->buddy(), nullptr) << l->text().toStdString();
        QLineEdit* interval = field(d, "采样间隔(T)(us)：");
        ASSERT_NE(interval, nullptr);
        EXPECT_EQ(interval->isEnabled(), needed);
        ASSERT_NE(field(d, "桩长(L)(m)："), nullptr);
        ASSERT_NE(field(d, "波速(V)(m/s)："), nullptr);
    }
}

TEST_F(ImportTracesTest, TracesOpenAsANewProject) {
    test::writeFile(dir.file("site.csv"), "P1,P2\n0,0\n0,0\n4,1\n2,9\n0,0\n0,0\n");
    bool asked = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<ImportTracesDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        asked = true;
        field(*d, "采样间隔(T)(us)：")->setText("25");
        d->findChild<QComboBox*>()->setCurrentIndex(1);
        d->accept();
    });
    importTraces(frame(), {QString::fromStdString(dir.file("site.csv"))});
    EXPECT_TRUE(asked);
    ASSERT_EQ(doc().pointCount(), 2);
    EXPECT_EQ(textOf(doc().points[1].pileNo), "P2");
    EXPECT_EQ(doc().points[0].sampleInterval, 25.0f);
    EXPECT_EQ(doc().points[0].sensorType, 1);
    EXPECT_EQ(doc().points[0].headIndex, 2);
    EXPECT_TRUE(doc().modified);
}

// The dialog shows the interval the file gives; nothing the file leaves open is filled
// in for the user.
TEST_F(ImportTracesTest, TheDialogShowsTheIntervalRead) {
    test::writeFile(dir.file("timed.csv"), "time_us,P1\n0,0\n20,0\n40,4\n60,1\n");
    QString shown, field20;
    bool editable = true;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<ImportTracesDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        auto* label = d->findChild<QLabel*>("intervalsRead");
        ASSERT_NE(label, nullptr);
        shown = label->text();
        QLineEdit* interval = field(*d, "采样间隔(T)(us)：");
        field20 = interval->text();
        editable = interval->isEnabled();
        d->accept();
    });
    importTraces(frame(), {QString::fromStdString(dir.file("timed.csv"))});
    EXPECT_EQ(shown, "文件中的采样间隔(us)：20");
    EXPECT_EQ(field20, "20");
    EXPECT_FALSE(editable);
    ASSERT_EQ(doc().pointCount(), 1);
    EXPECT_EQ(doc().points[0].sampleInterval, 20.0f);
    EXPECT_EQ(doc().pileTypeText(0), "");  // unknown, not 沉管灌注桩
    EXPECT_EQ(doc().points[0].pileLength, 0.0f);

    ImportTracesDialog none({"/x/a.csv"}, true);
    EXPECT_EQ(none.findChild<QLabel*>("intervalsRead")->text(), "文件中没有采样间隔");
}

TEST_F(ImportTracesTest, ABadFileIsReportedAndTheProjectStays) {
    test::writeFile(dir.file("bad.csv"), "time_ms,v\n0,1\n0,5\n");
    test::writeFile(dir.file("comma.txt"), "0,5 1,5\n");
    for (const char* name : {"bad.csv", "comma.txt"}) {
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shown = box->text();
            box->accept();
        });
        importTraces(frame(), {QString::fromStdString(dir.file(name))});
        EXPECT_FALSE(shown.isEmpty()) << name;
        ASSERT_EQ(doc().pointCount(), 1);
        EXPECT_EQ(textOf(doc().points[0].pileNo), "OLD");
    }
}

// The English window shows the English half of the message, naming line and column.
TEST_F(ImportTracesTest, TheEnglishWindowShowsTheEnglishMessage) {
    test::writeFile(dir.file("word.csv"), "a,b\n1,2\n3,x\n");
    const bool hadQtChinese = qtChineseTranslationsLoaded();
    ASSERT_EQ(installTranslations(UiLanguage::English), UiLanguage::English);
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->accept();
    });
    importTraces(frame(), {QString::fromStdString(dir.file("word.csv"))});
    removeTranslations();
    if (hadQtChinese) loadQtChineseTranslations();
    EXPECT_EQ(shown,
              QString::fromStdString(dir.file("word.csv")) + ": line 3, column 2: not a number");
}

}  // namespace
}  // namespace sondara::gui
