// Every command of the menus and toolbars has a real icon, drawn for it.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSet>

#include "core/app/CommandTable.h"
#include "gui/app/CommandIcons.h"

namespace sondara::gui {
namespace {

// Number of pixels that are not fully transparent.
int inkedPixels(const QIcon& icon, int size) {
    QImage img = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += qAlpha(img.pixel(x, y)) > 0;
    return n;
}

TEST(CommandIcons, EveryCommandHasAnIconThatIsNotEmpty) {
    QSet<QString> drawings;
    for (const CommandInfo& c : allCommands()) {
        const QString what = QString::number(toInt(c.id)) + " " + QString::fromUtf8(c.menuText);
        const QString own = bundledIconPath(c.id);
        ASSERT_FALSE(own.isEmpty()) << what.toStdString();
        QIcon icon = commandIcon(c.id);
        ASSERT_FALSE(icon.isNull()) << what.toStdString();
        for (int size : {16, 24}) {
            EXPECT_GT(inkedPixels(icon, size), size * size / 10)
                << what.toStdString() << " at " << size;
            EXPECT_GT(inkedPixels(QIcon(own), size), size * size / 10)
                << what.toStdString() << " own at " << size;
        }
        drawings.insert(own);
    }
    EXPECT_TRUE(commandIcon(12345).isNull());
    EXPECT_FALSE(applicationIcon().isNull());
    EXPECT_GT(inkedPixels(applicationIcon(), 48), 48 * 48 / 2);
    for (const char* t : {"Integrity", "Time", "Frequency", "Wavelet", "Correlation"})
        EXPECT_FALSE(analysisIcon(t).isNull()) << t;
}

// Toolbar buttons of different commands never share a drawing (12 of the 14
// processing operations would otherwise look alike).
TEST(CommandIcons, ToolbarButtonsAreTellApart) {
    for (const ToolbarDef& t : toolbars()) {
        QSet<QByteArray> seen;
        for (CommandId id : t.ids) {
            if (id == CommandId::None) continue;
            QImage img = QIcon(bundledIconPath(id)).pixmap(24, 24).toImage();
            QByteArray key(reinterpret_cast<const char*>(img.constBits()),
                           static_cast<int>(img.sizeInBytes()));
            EXPECT_FALSE(seen.contains(key))
                << "toolbar " << t.resource << " command " << toInt(id);
            seen.insert(key);
        }
    }
}

}  // namespace
}  // namespace sondara::gui
