#include "skin/CSkinProgress.h"
#include "skin/CSkinTestHost.h"

#include <QtTest>

#include <climits>

namespace {
const QColor kFace(212, 208, 200);

// A bar in known system colours drawn as rows of letters: b base, 1 2 lighter,
// F fill, d e darker, m mid shadow, s shadow, . face, ? anything else.
QStringList BarRows(QSize size, int lower, int upper, int position)
{
    CSkinProgress bar;
    SetColors(bar, {{QPalette::Button, kFace},
                    {QPalette::Shadow, QColor(64, 64, 64)},
                    {QPalette::Dark, QColor(128, 128, 128)}});
    bar.SetBarColor(MakeRgb(0, 50, 255));
    bar.resize(size);
    bar.setRange(lower, upper);
    bar.setValue(position);

    const QHash<QRgb, QChar> letters = {
        {qRgb(0, 50, 255), 'b'},    {qRgb(51, 101, 255), '1'},  {qRgb(102, 152, 255), '2'},
        {qRgb(153, 203, 255), 'F'}, {qRgb(0, 50, 204), 'd'},    {qRgb(0, 50, 153), 'e'},
        {qRgb(96, 96, 96), 'm'},    {qRgb(128, 128, 128), 's'}, {kFace.rgb(), '.'},
    };
    const QImage image = WindowPixels(bar.grab());
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        QString row;
        for (int x = 0; x < image.width(); ++x)
            row += letters.value(image.pixel(x, y) | 0xFF000000u, QLatin1Char('?'));
        rows << row;
    }
    return rows;
}
} // namespace

class TestSkinProgress : public QObject
{
    Q_OBJECT
private slots:
    // Channels that would leave 0..255 stay as they were rather than being clamped; the fill
    // is truncated, over the whole int range, held to the range, and nothing when it is empty.
    void shadesAndFillWidth()
    {
        QCOMPARE(BrightenRgb(MakeRgb(102, 102, 230), 51), MakeRgb(153, 153, 230));
        QCOMPARE(MidShadowRgb(MakeRgb(0, 255, 10), MakeRgb(255, 0, 11)), MakeRgb(127, 127, 10));

        QCOMPARE(ProgressFillWidth(0, 3, 1, 100), 33);
        QCOMPARE(ProgressFillWidth(INT_MIN, INT_MAX, 0, 1000), 500);
        QCOMPARE(ProgressFillWidth(INT_MIN, INT_MAX, INT_MAX, 1000), 1000);
        QCOMPARE(ProgressFillWidth(0, 0, 7, 100), 0);
        QCOMPARE(ProgressFillWidth(0, 100, -1, 100), 0);
        QCOMPARE(ProgressFillWidth(0, 100, 250, 100), 100);
    }

    void workedExampleIsDrawnPixelForPixel()
    {
        const QStringList expected = {
            QStringLiteral("bbddddddddddms.."), QStringLiteral("b1bbbbbbbbbems.."),
            QStringLiteral("b211111111dems.."), QStringLiteral("bF22222222dems.."),
            QStringLiteral("b211111111dems.."), QStringLiteral("b1bbbbbbbbdems.."),
            QStringLiteral("bbdddddddddems.."), QStringLiteral("bdeeeeeeeeeems.."),
        };
        QCOMPARE(BarRows(QSize(16, 8), 0, 16, 12), expected);
    }

    // Narrow fills draw some segments right to left; worked out by hand from the edge steps.
    void narrowAndEmptyFills()
    {
        QCOMPARE(BarRows(QSize(6, 8), 0, 6, 1), QStringList{"bms..."} + QStringList(7, "ems..."));
        QCOMPARE(BarRows(QSize(6, 8), 0, 6, 3), QStringList({"bbdms.", "b1ems."}) + QStringList(6, "bdems."));
        for (int fill = 1; fill <= 4; ++fill) {
            for (int height : {1, 3, 6, 12}) {
                for (const QString& row : BarRows(QSize(10, height), 0, 10, fill)) {
                    QVERIFY2(!row.left(fill).contains(QLatin1Char('?')), qPrintable(row));
                    QCOMPARE(row.mid(fill), QStringLiteral("ms") + QString(8 - fill, QLatin1Char('.')));
                }
            }
        }
        QCOMPARE(BarRows(QSize(20, 8), 0, 100, 0), QStringList(8, QString(20, QLatin1Char('.'))));
    }
};

QTEST_MAIN(TestSkinProgress)
#include "test_skin_progress.moc"
