#include "SkinArt.h"
#include "SkinLayout.h"

#include "res/resource.h"

#include <QtTest>

namespace {

constexpr QRgb key = 0xFF36FF00; // RGB(54,255,0)

bool isKey(QRgb c)
{
    return (c & 0xFFFFFF) == (key & 0xFFFFFF);
}

// Whether a straight line of key pixels leads from the pixel to the image border.
bool reachesBorder(const QImage& image, int x, int y)
{
    const auto keyRun = [&](int dx, int dy) {
        for (int px = x, py = y; image.valid(px, py); px += dx, py += dy) {
            if (!isKey(image.pixel(px, py)))
                return false;
        }
        return true;
    };
    return keyRun(1, 0) || keyRun(-1, 0) || keyRun(0, 1) || keyRun(0, -1);
}

} // namespace

class TestArtgen : public QObject
{
    Q_OBJECT
private:
    std::map<int, QImage> m_bitmaps;

private slots:
    void initTestCase() { m_bitmaps = SkinArt::renderBitmaps(); }

    // Only the outline is cut: key pixels all lie open to the border, none sit
    // inside, and no pixel blends towards the key.
    void backgroundKeyFormsOnlyTheOutline()
    {
        const QImage& bg = m_bitmaps.at(IDB_BACKGROUND);
        int cut = 0;
        for (int y = 0; y < bg.height(); ++y) {
            for (int x = 0; x < bg.width(); ++x) {
                const QRgb c = bg.pixel(x, y);
                if (isKey(c)) {
                    QVERIFY2(reachesBorder(bg, x, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                    ++cut;
                    continue;
                }
                const bool nearKey = qGreen(c) > 200 && qRed(c) < 120 && qBlue(c) < 80;
                QVERIFY2(!nearKey, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
        QVERIFY(cut > 40 && cut < 2000); // rounded corners, not a frame
    }

    // Every state of a button looks different; drawn opaque over the window, its normal
    // image must continue the background around its edges (a pill fills its whole rectangle).
    void buttonStatesDifferAndBlendIn()
    {
        const QImage& bg = m_bitmaps.at(IDB_BACKGROUND);
        for (const ButtonDesign& b : SkinLayout::buttons()) {
            const QImage& normal = m_bitmaps.at(b.normalId);
            const QImage& hover = m_bitmaps.at(b.hoverId);
            const QImage& pressed = m_bitmaps.at(b.pressedId);
            QVERIFY2(normal != hover, qPrintable(QString::number(b.hoverId)));
            QVERIFY2(normal != pressed.copy(normal.rect()), qPrintable(QString::number(b.pressedId)));
            QVERIFY2(hover != pressed.copy(hover.rect()), qPrintable(QString::number(b.pressedId)));
            for (int x = 0; b.face != ButtonFace::Pill && x < normal.width(); ++x)
                QCOMPARE(normal.pixel(x, 0), bg.pixel(b.layout.x() + x, b.layout.y()));
        }
    }

    // At 2x every bitmap covers the same window pixels, each in four, and a button still
    // continues the background (the outline's cut is the window test's, at QT_SCALE_FACTOR=2).
    void doubleScaleCoversTheSamePixels()
    {
        const std::map<int, QImage> fine = SkinArt::renderBitmaps(2);
        for (const auto& [id, image] : fine)
            QCOMPARE(image.size(), m_bitmaps.at(id).size() * 2);
        const ButtonDesign& file = SkinLayout::buttons().front();
        QCOMPARE(fine.at(file.normalId).copy(0, 0, 80, 1),
                 fine.at(IDB_BACKGROUND).copy(file.layout.x() * 2, file.layout.y() * 2, 80, 1));
    }
};

QTEST_MAIN(TestArtgen)
#include "test_artgen.moc"
