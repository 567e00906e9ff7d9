#include "SkinArt.h"
#include "SkinLayout.h"

#include "res/resource.h"

#include <QtTest>

#include <queue>

namespace {

constexpr QRgb key = 0xFF36FF00; // RGB(54,255,0)

bool isKey(QRgb c)
{
    return (c & 0xFFFFFF) == (key & 0xFFFFFF);
}

// Key pixels reachable from the image border through key pixels.
QImage outsideMask(const QImage& image)
{
    QImage seen(image.size(), QImage::Format_Grayscale8);
    seen.fill(0);
    std::queue<QPoint> todo;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
            return;
        uchar& mark = seen.scanLine(y)[x];
        if (mark != 0 || !isKey(image.pixel(x, y)))
            return;
        mark = 255;
        todo.push(QPoint(x, y));
    };
    for (int x = 0; x < image.width(); ++x) {
        visit(x, 0);
        visit(x, image.height() - 1);
    }
    for (int y = 0; y < image.height(); ++y) {
        visit(0, y);
        visit(image.width() - 1, y);
    }
    while (!todo.empty()) {
        const QPoint p = todo.front();
        todo.pop();
        visit(p.x() + 1, p.y());
        visit(p.x() - 1, p.y());
        visit(p.x(), p.y() + 1);
        visit(p.x(), p.y() - 1);
    }
    return seen;
}

} // namespace

class TestArtgen : public QObject
{
    Q_OBJECT
private:
    std::map<int, QImage> m_bitmaps;

private slots:
    void initTestCase() { m_bitmaps = SkinArt::renderBitmaps(); }

    // Only the outline is cut: key pixels all connect to the border, none sit
    // inside, and no pixel blends towards the key.
    void backgroundKeyFormsOnlyTheOutline()
    {
        const QImage& bg = m_bitmaps.at(IDB_BACKGROUND);
        const QImage outside = outsideMask(bg);
        int cut = 0;
        for (int y = 0; y < bg.height(); ++y) {
            for (int x = 0; x < bg.width(); ++x) {
                const QRgb c = bg.pixel(x, y);
                if (isKey(c)) {
                    QVERIFY2(outside.constScanLine(y)[x] != 0,
                             qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                    ++cut;
                    continue;
                }
                const bool nearKey = qGreen(c) > 200 && qRed(c) < 120 && qBlue(c) < 80;
                QVERIFY2(!nearKey, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
        QVERIFY(isKey(bg.pixel(0, 0)) && isKey(bg.pixel(749, 559)));
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
        QVERIFY(m_bitmaps.at(IDB_PLAY_NORMAL) != m_bitmaps.at(IDB_PAUSE_NORMAL));
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
