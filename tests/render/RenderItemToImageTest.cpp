// Image export drawing: a checked point, a display pane and the wave train in pictures
// of the chosen size, and the files read back by an independent decoder (Qt's).
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "core/output/BmpFile.h"
#include "render/DisplayRenderer.h"
#include "render/PanePainter.h"
#include "render/RenderItemToImage.h"
#include "support/Fixtures.h"
#include "support/TestSupport.h"

namespace sondara::render {
namespace {

CSondaraDoc waveDoc(int n) {
    std::vector<TestPoint> pts;
    for (int k = 0; k < n; ++k)
        pts.push_back(test::sinePoint(k % 2 ? "B/2" : "A1", 400, 40, 6.0 + k));
    CSondaraDoc d = test::makeDoc(pts);
    d.checkedList = {1, 3};
    d.selectPoint(0);
    return d;
}

int countColour(const QImage& img, const QColor& c) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += QColor(img.pixel(x, y)) == c;
    return n;
}

struct ItemImages : ::testing::Test {
    CSondaraDoc doc = waveDoc(4);
    DisplayRenderer renderer;
    WaveDisplayModel display{&renderer.metrics()};
    void show(DisplaySet set) {
        AnalysisSelection s;
        s.displaySet = set;
        display.setSelection(s);
        display.setClientSize(900, 600);
        display.rebuild(doc);
    }
};

TEST_F(ItemImages, CheckedPointPaneAndWaveTrainAtTheChosenSize) {
    show(DisplaySet::SingleTrace);
    const QImage point = RenderItem(doc, display, {ExportItem::Kind::CheckedPoint, 3}, 530, 145);
    ASSERT_EQ(point.size(), QSize(530, 145));
    EXPECT_GT(countColour(point, kCurveColour), 100);
    EXPECT_EQ(QColor(point.pixel(0, 0)), QColor(Qt::white));
    const QImage pane = RenderItem(doc, display, {ExportItem::Kind::DisplayPane, 0}, 1024, 270);
    ASSERT_EQ(pane.size(), QSize(1024, 270));
    EXPECT_GT(countColour(pane, kCurveColour), 200);
    // Two different points give two different pictures.
    EXPECT_NE(RenderItem(doc, display, {ExportItem::Kind::CheckedPoint, 1}, 530, 145), point);

    show(DisplaySet::WaveTrain);
    ASSERT_EQ(ExportItems(DataSelection::CurrentDisplay, doc, display).size(), 1u);
    const ImageSize z = CurrentDisplaySize(display);
    EXPECT_EQ(z.height, display.pane(0).paneRect.height() * 4);
    const QImage train =
        RenderItem(doc, display, {ExportItem::Kind::WaveTrain, 0}, z.width, z.height);
    ASSERT_EQ(train.size(), QSize(z.width, z.height));
    // Every strip carries a curve: blue in each quarter of the picture.
    for (int q = 0; q < 4; ++q)
        EXPECT_GT(countColour(train.copy(0, q * z.height / 4, z.width, z.height / 4), kCurveColour),
                  20)
            << q;
    EXPECT_TRUE(RenderItem(doc, display, {ExportItem::Kind::CheckedPoint, 1}, 0, 145).isNull());
}

TEST_F(ItemImages, FilesDecodeToTheDrawnPicture) {
    show(DisplaySet::SingleTrace);
    test::TempDir dir;
    const ExportItem item{ExportItem::Kind::CheckedPoint, 1};
    const QImage drawn = RenderItem(doc, display, item, 530, 145);
    ASSERT_TRUE(
        RenderItemToImage(doc, display, item, dir.file("a.bmp"), 530, 145, ImageFormat::Bmp));
    QImage bmp(QString::fromStdString(dir.file("a.bmp")), "BMP");
    ASSERT_FALSE(bmp.isNull());
    EXPECT_EQ(bmp.convertToFormat(QImage::Format_RGB32), drawn);
    ASSERT_TRUE(
        RenderItemToImage(doc, display, item, dir.file("a.jpg"), 530, 145, ImageFormat::Jpeg));
    QImage jpg(QString::fromStdString(dir.file("a.jpg")), "JPEG");
    EXPECT_EQ(jpg.size(), QSize(530, 145));
    EXPECT_FALSE(
        RenderItemToImage(doc, display, item, dir.file("none/a.bmp"), 530, 145, ImageFormat::Bmp));
}

TEST_F(ItemImages, WriteItemImagesNamesFilesAndRunsOnAllCores) {
    CSondaraDoc many = waveDoc(40);
    for (int i = 0; i < 40; ++i) many.checkedList.push_back(i);
    many.checkedList.erase(many.checkedList.begin(),
                           many.checkedList.begin() + 2);  // drop the fixture's 1, 3
    doc = std::move(many);
    show(DisplaySet::SingleTrace);
    test::TempDir dir;
    const auto items = ExportItems(DataSelection::CheckedPoints, doc, display);
    ASSERT_EQ(items.size(), 40u);
    const auto written =
        WriteItemImages(doc, display, items, dir.path() + "/", 530, 145, ImageFormat::Jpeg);
    ASSERT_EQ(written.size(), 40u);
    EXPECT_EQ(written[0], dir.path() + "/NO1：A1.jpg");
    EXPECT_EQ(written[1], dir.path() + "/NO2：B_2.jpg");
    // The same picture as a serial drawing of that point.
    const auto encoded = RenderItemsEncoded(doc, display, {items[7]}, 530, 145, ImageFormat::Bmp);
    QImage serial;
    serial.loadFromData(reinterpret_cast<const uchar*>(encoded[0].data()),
                        static_cast<int>(encoded[0].size()), "BMP");
    EXPECT_EQ(serial.convertToFormat(QImage::Format_RGB32),
              RenderItem(doc, display, items[7], 530, 145));
    // No folder: nothing written.
    EXPECT_TRUE(
        WriteItemImages(doc, display, items, dir.path() + "/none/", 530, 145, ImageFormat::Bmp)
            .empty());
}

}  // namespace
}  // namespace sondara::render
