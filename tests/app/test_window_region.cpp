// The window's outline: exactly the pixels that are not the key colour.
#include "app/WindowRegion.h"

#include <QtTest>

namespace {
const QRgb kKey = qRgb(54, 255, 0);

QImage Filled(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}
} // namespace

class TestWindowRegion : public QObject
{
    Q_OBJECT
private slots:
    void runsAreMaximalAndKeyRowsAddNothing()
    {
        QImage image = Filled(8, 3, qRgb(20, 20, 20));
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, 1, kKey); // a key-coloured row
        image.setPixel(0, 2, kKey);
        image.setPixel(4, 2, kKey);
        image.setPixel(7, 2, kKey);
        const std::vector<QRect> expected{QRect(0, 0, 8, 1), QRect(1, 2, 3, 1), QRect(5, 2, 2, 1)};
        QCOMPARE(NonKeyRuns(image, kKey), expected);
    }

    // A disc and near-key pixels on key colour: every pixel is inside exactly when it is not
    // the key, whatever its alpha.
    void regionIsExactlyTheNonKeyPixels()
    {
        QImage image = Filled(40, 30, kKey);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                if ((x - 20) * (x - 20) + (y - 15) * (y - 15) < 144)
                    image.setPixel(x, y, qRgb(x * 6, y * 8, 100));
        image.setPixel(1, 0, qRgb(54, 255, 1));
        image.setPixel(2, 0, qRgb(54, 254, 0));
        image.setPixel(4, 0, qRgb(55, 255, 0));
        const QRegion region = RegionFromBitmap(image, kKey);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                QCOMPARE(region.contains(QPoint(x, y)), (image.pixel(x, y) & 0xFFFFFF) != (kKey & 0xFFFFFF));
        QImage withAlpha = image.convertToFormat(QImage::Format_ARGB32);
        withAlpha.setPixel(0, 0, qRgba(54, 255, 0, 0));
        QCOMPARE(RegionFromBitmap(withAlpha, kKey), region);
    }
};

QTEST_APPLESS_MAIN(TestWindowRegion)
#include "test_window_region.moc"
