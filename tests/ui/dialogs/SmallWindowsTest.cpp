// The legend, about and credits windows, and the editor's own images.

#include "AboutHexlane.h"
#include "Credits.h"
#include "Icons.h"
#include "Legend.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <set>

using namespace hexlane::ui;

namespace {

// The button of this caption (its access key's mark aside).
QPushButton* ButtonWithText(QWidget& parent, const QString& text) {
    for (QPushButton* b : parent.findChildren<QPushButton*>())
        if (QString(b->text()).remove('&') == text) return b;
    return nullptr;
}

bool HasColour(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour) return true;
    return false;
}

}  // namespace

TEST(Legend, IsAFixedPictureInAWindowKeptOnTopWithoutMinimiseOrMaximise) {
    TfLegend legend;
    EXPECT_EQ(legend.windowTitle(), "Legend");
    EXPECT_FALSE(legend.isModal());
    const Qt::WindowFlags flags = legend.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

    auto* picture = legend.findChild<QLabel*>("rLegendPicture");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(390, 464));
    legend.show();
    QApplication::processEvents();
    EXPECT_EQ(legend.size(), QSize(390, 464));
}

TEST(Legend, PictureShowsTheMapsOwnSymbols) {
    const QImage picture = TfLegend::LegendPicture().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(390, 464));
    // The renderer's colours: the amber zone's disc, the red zone's ring, the
    // blue world dot of a world with water and the grid's silver outline.
    EXPECT_TRUE(HasColour(picture, qRgb(255, 255, 0)));
    EXPECT_TRUE(HasColour(picture, qRgb(255, 0, 0)));
    EXPECT_TRUE(HasColour(picture, qRgb(0, 0, 255)));
    EXPECT_TRUE(HasColour(picture, qRgb(192, 192, 192)));
    // Drawn the same each time.
    EXPECT_EQ(TfLegend::LegendPicture(), TfLegend::LegendPicture());
}

TEST(Legend, EscapeOrAClickOnThePictureClosesIt) {
    TfLegend legend;
    legend.show();
    ASSERT_TRUE(legend.isVisible());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&legend, &escape);
    EXPECT_FALSE(legend.isVisible());

    legend.show();
    auto* picture = legend.findChild<QLabel*>("rLegendPicture");
    ASSERT_NE(picture, nullptr);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(100, 100), QPointF(100, 100), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(picture, &press);
    EXPECT_TRUE(legend.isVisible());
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(100, 100), QPointF(100, 100), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(picture, &release);
    EXPECT_FALSE(legend.isVisible());
}

TEST(AboutBox, ShowsTheVersionAndClosesWithClose) {
    TfAboutHexlane about;
    EXPECT_EQ(about.windowTitle(), "About Hexlane 4");
    EXPECT_TRUE(about.isModal());
    auto* version = about.findChild<QLabel*>("rVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Version 4.51.00");
    auto* picture = about.findChild<QLabel*>("rPicture");
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());

    QPushButton* close = ButtonWithText(about, "Close");
    ASSERT_NE(close, nullptr);
    about.show();
    close->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST(Credits, IsAReadOnlyTextWithAnOkButton) {
    TfCredits credits;
    EXPECT_EQ(credits.windowTitle(), "Credits");
    EXPECT_TRUE(credits.isModal());
    auto* text = credits.findChild<QPlainTextEdit*>("rCredits");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    for (const char* name : {"Qt", "GoogleTest", "Liberation", "game-master"})
        EXPECT_TRUE(text->toPlainText().contains(QLatin1String(name))) << name;

    QPushButton* ok = ButtonWithText(credits, "OK");
    ASSERT_NE(ok, nullptr);
    credits.show();
    ok->click();
    EXPECT_FALSE(credits.isVisible());
    EXPECT_EQ(credits.result(), QDialog::Accepted);
}

TEST(Icons, EveryToolbarHintHasItsOwnIconInTwoSizes) {
    const QStringList expected{
        "Open Map", "Save Map", "Undo", "Redo", "Print Preview", "Selected Save", "Save Bitmap", "Merge Maps", "Overlay Maps",
        "Import Sector File", "Toggle all System Information", "Toggle Allegiance Colors",
        "Toggle Comm/Trade Routes", "Toggle System Contents", "Toggle Starports", "Toggle System Names",
        "Toggle Sector Lines", "Toggle Subsector Lines", "Toggle Polity Borders", "Refresh Image", "Zoom Out", "Zoom In",
        "Edit Sectors/Subsectors", "Query", "Navigation Information"};
    EXPECT_EQ(ToolbarHints(), expected);

    std::set<QByteArray> seen;
    for (const QString& hint : expected) {
        const QIcon icon = ToolbarIcon(hint);
        ASSERT_FALSE(icon.isNull()) << hint.toStdString();
        const QList<QSize> sizes = icon.availableSizes();
        EXPECT_TRUE(sizes.contains(QSize(24, 24))) << hint.toStdString();
        EXPECT_TRUE(sizes.contains(QSize(48, 48))) << hint.toStdString();
        const QImage image = icon.pixmap(QSize(24, 24)).toImage().convertToFormat(QImage::Format_ARGB32);
        seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(expected.size())) << "two hints share an image";
    EXPECT_TRUE(ToolbarIcon("No Such Button").isNull());
}

TEST(Icons, TreeIconsAppIconAndMapCursor) {
    std::set<QByteArray> seen;
    for (int i = 0; i < 3; ++i) {
        const QIcon icon = TreeIcon(i);
        ASSERT_FALSE(icon.isNull()) << i;
        const QImage image = icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(image.size(), QSize(16, 16));
        seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_TRUE(TreeIcon(3).isNull());
    EXPECT_TRUE(TreeIcon(-1).isNull());

    EXPECT_FALSE(AppIcon().isNull());
    EXPECT_EQ(Emblem(128).size(), QSize(128, 128));
    EXPECT_EQ(Emblem(100).size(), QSize(100, 100));

    const QCursor cursor = MapCursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(16, 16));
    const QImage image = cursor.pixmap().toImage();
    ASSERT_EQ(image.size(), QSize(32, 32));
    // The hot spot is the cross-hair's dark middle pixel.
    EXPECT_EQ(qAlpha(image.pixel(16, 16)), 255);
    EXPECT_LT(qGray(image.pixel(16, 16)), 100);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
}
