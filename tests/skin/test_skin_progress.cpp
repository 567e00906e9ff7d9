#include "skin/CSkinProgress.h"

#include <QtTest>

#include <climits>

namespace
{
constexpr COLORREF kBase = MakeRgb(0, 50, 255);
const QColor kFace(212, 208, 200);
const QColor kDarkShadow(64, 64, 64);
const QColor kShadow(128, 128, 128);

// Letters of the drawing's colours, as the bar's layout is usually written down.
QHash<QRgb, QChar> ShadeLetters()
{
    return {
        {ToQColor(kBase).rgb(), QLatin1Char('b')},
        {ToQColor(MakeRgb(51, 101, 255)).rgb(), QLatin1Char('1')},
        {ToQColor(MakeRgb(102, 152, 255)).rgb(), QLatin1Char('2')},
        {ToQColor(MakeRgb(153, 203, 255)).rgb(), QLatin1Char('F')},
        {ToQColor(MakeRgb(0, 50, 204)).rgb(), QLatin1Char('d')},
        {ToQColor(MakeRgb(0, 50, 153)).rgb(), QLatin1Char('e')},
        {QColor(96, 96, 96).rgb(), QLatin1Char('m')},
        {kShadow.rgb(), QLatin1Char('s')},
        {kFace.rgb(), QLatin1Char('.')},
    };
}

QStringList LetterRows(const QImage& image)
{
    const QHash<QRgb, QChar> letters = ShadeLetters();
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        QString row;
        for (int x = 0; x < image.width(); ++x)
            row += letters.value(image.pixel(x, y) | 0xFF000000u, QLatin1Char('?'));
        rows << row;
    }
    return rows;
}

// A bar in known system colours, rendered at the given size and fill.
class BarFixture
{
public:
    BarFixture(QSize size, int lower, int upper, int position)
    {
        QPalette colors = m_bar.palette();
        colors.setColor(QPalette::Button, kFace);
        colors.setColor(QPalette::Shadow, kDarkShadow);
        colors.setColor(QPalette::Dark, kShadow);
        m_bar.setPalette(colors);
        m_bar.SetBarColor(kBase);
        m_bar.resize(size);
        m_bar.setRange(lower, upper);
        m_bar.setValue(position);
    }
    QStringList Rows() { return LetterRows(m_bar.grab().toImage()); }
    CSkinProgress& Bar() { return m_bar; }

private:
    CSkinProgress m_bar;
};
} // namespace

class TestSkinProgress : public QObject
{
    Q_OBJECT
private slots:
    void shadesFollowTheChannelRules_data();
    void shadesFollowTheChannelRules();
    void midShadowIsTheFlooredMean();
    void fillWidth_data();
    void fillWidth();
    void workedExampleIsDrawnPixelForPixel();
    void narrowFillsRunEveryStep();
    void narrowFillsStayBesideTheirShadow();
    void emptyAndFullBars();
};

void TestSkinProgress::shadesFollowTheChannelRules_data()
{
    QTest::addColumn<COLORREF>("base");
    QTest::addColumn<COLORREF>("light1");
    QTest::addColumn<COLORREF>("light2");
    QTest::addColumn<COLORREF>("light3");
    QTest::addColumn<COLORREF>("dark1");
    QTest::addColumn<COLORREF>("dark2");
    QTest::newRow("progress blue") << MakeRgb(0, 50, 255) << MakeRgb(51, 101, 255) << MakeRgb(102, 152, 255)
                                   << MakeRgb(153, 203, 255) << MakeRgb(0, 50, 204) << MakeRgb(0, 50, 153);
    QTest::newRow("navy") << MakeRgb(0, 0, 128) << MakeRgb(51, 51, 179) << MakeRgb(102, 102, 230)
                          << MakeRgb(153, 153, 230) << MakeRgb(0, 0, 77) << MakeRgb(0, 0, 26);
}

void TestSkinProgress::shadesFollowTheChannelRules()
{
    QFETCH(COLORREF, base);
    QFETCH(COLORREF, light1);
    QFETCH(COLORREF, light2);
    QFETCH(COLORREF, light3);
    QFETCH(COLORREF, dark1);
    QFETCH(COLORREF, dark2);
    QCOMPARE(BrightenRgb(base, 51), light1);
    QCOMPARE(BrightenRgb(light1, 51), light2);
    QCOMPARE(BrightenRgb(light2, 51), light3);
    QCOMPARE(DimRgb(base, 51), dark1);
    QCOMPARE(DimRgb(dark1, 51), dark2);
}

void TestSkinProgress::midShadowIsTheFlooredMean()
{
    QCOMPARE(MidShadowRgb(MakeRgb(128, 128, 128), MakeRgb(64, 64, 64)), MakeRgb(96, 96, 96));
    QCOMPARE(MidShadowRgb(MakeRgb(128, 128, 128), MakeRgb(65, 65, 65)), MakeRgb(96, 96, 96));
    QCOMPARE(MidShadowRgb(MakeRgb(0, 255, 10), MakeRgb(255, 0, 11)), MakeRgb(127, 127, 10));
}

void TestSkinProgress::fillWidth_data()
{
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upper");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("expected");
    QTest::newRow("truncated") << 0 << 3 << 1 << 100 << 33;
    QTest::newRow("at lower") << 5 << 10 << 5 << 100 << 0;
    QTest::newRow("at upper") << 5 << 10 << 10 << 100 << 100;
    QTest::newRow("beyond 16 bits") << 0 << 200000 << 150000 << 400 << 300;
    QTest::newRow("whole int range") << INT_MIN << INT_MAX << 0 << 1000 << 500;
    QTest::newRow("int extremes, full") << INT_MIN << INT_MAX << INT_MAX << 1000 << 1000;
    QTest::newRow("empty range") << 0 << 0 << 7 << 100 << 0;
    QTest::newRow("reset below range") << 0 << 100 << -1 << 100 << 0;
    QTest::newRow("past the end") << 0 << 100 << 250 << 100 << 100;
}

void TestSkinProgress::fillWidth()
{
    QFETCH(int, lower);
    QFETCH(int, upper);
    QFETCH(int, position);
    QFETCH(int, width);
    QFETCH(int, expected);
    QCOMPARE(ProgressFillWidth(lower, upper, position, width), expected);
}

void TestSkinProgress::workedExampleIsDrawnPixelForPixel()
{
    BarFixture fixture(QSize(16, 8), 0, 16, 12);
    const QStringList expected = {
        QStringLiteral("bbddddddddddms.."), QStringLiteral("b1bbbbbbbbbems.."),
        QStringLiteral("b211111111dems.."), QStringLiteral("bF22222222dems.."),
        QStringLiteral("b211111111dems.."), QStringLiteral("b1bbbbbbbbdems.."),
        QStringLiteral("bbdddddddddems.."), QStringLiteral("bdeeeeeeeeeems.."),
    };
    QCOMPARE(fixture.Rows(), expected);
}

// Narrow fills draw some segments right to left and some not at all; worked out
// by hand from the edge steps.
void TestSkinProgress::narrowFillsRunEveryStep()
{
    BarFixture one(QSize(6, 8), 0, 6, 1);
    QStringList expected = {QStringLiteral("bms...")};
    for (int row = 1; row < 8; ++row)
        expected << QStringLiteral("ems...");
    QCOMPARE(one.Rows(), expected);

    BarFixture three(QSize(6, 8), 0, 6, 3);
    expected = {QStringLiteral("bbdms."), QStringLiteral("b1ems.")};
    for (int row = 2; row < 8; ++row)
        expected << QStringLiteral("bdems.");
    QCOMPARE(three.Rows(), expected);
}

void TestSkinProgress::narrowFillsStayBesideTheirShadow()
{
    for (int fill = 1; fill <= 4; ++fill) {
        for (int height : {1, 3, 6, 8, 12}) {
            BarFixture fixture(QSize(10, height), 0, 10, fill);
            const QStringList rows = fixture.Rows();
            for (const QString& row : rows) {
                QVERIFY2(!row.contains(QLatin1Char('?')), qPrintable(row));
                QCOMPARE(row.mid(fill, 2), QStringLiteral("ms"));
                QCOMPARE(row.mid(fill + 2), QString(8 - fill, QLatin1Char('.')));
            }
        }
    }
}

void TestSkinProgress::emptyAndFullBars()
{
    BarFixture empty(QSize(20, 8), 0, 100, 0);
    QCOMPARE(empty.Rows(), QStringList(8, QString(20, QLatin1Char('.'))));

    BarFixture full(QSize(20, 8), 0, 100, 100);
    const QStringList rows = full.Rows();
    QCOMPARE(rows.first(), QStringLiteral("bb") + QString(18, QLatin1Char('d')));
    QCOMPARE(rows.last(), QStringLiteral("bd") + QString(18, QLatin1Char('e')));
    QCOMPARE(rows[3], QStringLiteral("bF") + QString(16, QLatin1Char('2')) + QStringLiteral("de"));

    // A later colour and a range past 16 bits repaint at once.
    full.Bar().setRange(0, 1000000);
    full.Bar().setValue(500000);
    full.Bar().SetBarColor(MakeRgb(0, 50, 255));
    QCOMPARE(full.Rows()[0], QStringLiteral("bbddddddddms") + QString(8, QLatin1Char('.')));
}

QTEST_MAIN(TestSkinProgress)
#include "test_skin_progress.moc"
