// The window's outline: exactly the pixels that are not the key colour.
#include "skin/WindowRegion.h"

#include <QtTest>

namespace {
const QRgb kKey = qRgb(54, 255, 0);
} // namespace

class TestWindowRegion : public QObject
{
    Q_OBJECT
private slots:
    // A disc and near-key pixels on key colour: every pixel is inside exactly when it is not
    // the key, whatever its alpha.
    void regionIsExactlyTheNonKeyPixels()
    {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(kKey);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                if ((x - 20) * (x - 20) + (y - 15) * (y - 15) < 144)
                    image.setPixel(x, y, qRgb(x * 6, y * 8, 100));
        image.setPixel(1, 0, qRgb(54, 255, 1));
        image.setPixel(2, 0, qRgb(54, 254, 0));
        image.setPixel(39, 0, qRgb(55, 255, 0)); // a run that ends at the right edge
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
