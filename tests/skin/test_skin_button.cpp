#include "skin/CSkinButton.h"
#include "support/CPaintCounter.h"

#include <QPainter>
#include <QtTest>

namespace
{
const QColor kBackground(255, 0, 255);

QPixmap Solid(QSize size, const QColor& color)
{
    QPixmap pixmap(size);
    pixmap.fill(color);
    return pixmap;
}

// A button on a plain magenta window, red normal, blue pressed, and a green
// hover image a quarter of its size.
class ButtonFixture
{
public:
    ButtonFixture()
    {
        m_host.resize(200, 100);
        QPalette colors = m_host.palette();
        colors.setColor(QPalette::Window, kBackground);
        m_host.setPalette(colors);
        m_host.setAutoFillBackground(true);
        button.setParent(&m_host);
        button.setGeometry(50, 30, 40, 20);
        button.SetStateImages(Solid({40, 20}, Qt::red), Solid({40, 20}, Qt::blue),
                              Solid({20, 10}, Qt::green));
        m_host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_host));
        // Hover needs the pointer to arrive from somewhere on the window.
        QTest::mouseMove(&m_host, QPoint(5, 5));
        QCoreApplication::processEvents();
    }

    QImage Shot() { return m_host.grab(button.geometry()).toImage(); }
    QRgb At(int x, int y) { return Shot().pixel(x, y) | 0xFF000000u; }
    void MoveOnto(QPoint pos = {10, 10})
    {
        QTest::mouseMove(&m_host, button.geometry().topLeft() + pos);
        QCoreApplication::processEvents();
    }
    void MoveAway()
    {
        QTest::mouseMove(&m_host, QPoint(5, 5));
        QCoreApplication::processEvents();
    }
    void Settle()
    {
        QTest::qWait(20);
        QCoreApplication::processEvents();
    }

private:
    QWidget m_host; // before the button, which leaves it on destruction

public:
    CSkinButton button;
};
} // namespace

class TestSkinButton : public QObject
{
    Q_OBJECT
private slots:
    void hoverComesAndGoesWithOneRepaintEach();
    void pressShowsThePressedImageAndClearsHover();
    void disabledLooksEnabled();
    void imagesAreCutNotScaled();
    void captionSitsCentredOverTheImage();
    void replacedImagesAreReleased();
    void missingImagesDrawNothing();
};

void TestSkinButton::hoverComesAndGoesWithOneRepaintEach()
{
    ButtonFixture fixture;
    CPaintCounter paints(&fixture.button);
    fixture.MoveOnto();
    fixture.Settle();
    QVERIFY(fixture.button.IsHover());
    QCOMPARE(paints.count, 1);

    fixture.MoveOnto({20, 12});
    fixture.MoveOnto({30, 5});
    fixture.Settle();
    QCOMPARE(paints.count, 1);
    // Hover image over the normal one: green top-left quarter, red elsewhere.
    QCOMPARE(fixture.At(5, 5), QColor(Qt::green).rgb());
    QCOMPARE(fixture.At(30, 15), QColor(Qt::red).rgb());

    paints.count = 0; // the shots above paint too
    fixture.MoveAway();
    fixture.Settle();
    QVERIFY(!fixture.button.IsHover());
    QCOMPARE(paints.count, 1);
    QCOMPARE(fixture.At(5, 5), QColor(Qt::red).rgb());
}

void TestSkinButton::pressShowsThePressedImageAndClearsHover()
{
    ButtonFixture fixture;
    fixture.MoveOnto();
    QTest::mousePress(&fixture.button, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!fixture.button.IsHover());
    QCOMPARE(fixture.At(5, 5), QColor(Qt::blue).rgb());
    QCOMPARE(fixture.At(30, 15), QColor(Qt::blue).rgb());

    QTest::mouseRelease(&fixture.button, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(fixture.At(5, 5), QColor(Qt::red).rgb());
    fixture.MoveOnto({11, 10});
    QVERIFY(fixture.button.IsHover());
    QCOMPARE(fixture.At(5, 5), QColor(Qt::green).rgb());
}

void TestSkinButton::disabledLooksEnabled()
{
    ButtonFixture fixture;
    fixture.button.setText(QStringLiteral("Go"));
    const QImage enabled = fixture.Shot();
    fixture.button.setEnabled(false);
    QCOMPARE(fixture.Shot(), enabled);
}

void TestSkinButton::imagesAreCutNotScaled()
{
    ButtonFixture fixture;
    QPixmap large = Solid({60, 40}, Qt::yellow);
    QPainter(&large).fillRect(0, 0, 40, 20, Qt::red);
    fixture.button.SetStateImages(large, large, QPixmap());
    const QImage shot = fixture.Shot();
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x)
            QCOMPARE(shot.pixel(x, y) | 0xFF000000u, QColor(Qt::red).rgb());
    }

    // A smaller image leaves the rest of the button to what lies beneath.
    fixture.button.SetStateImages(Solid({10, 10}, Qt::red), QPixmap(), QPixmap());
    QCOMPARE(fixture.At(5, 5), QColor(Qt::red).rgb());
    QCOMPARE(fixture.At(30, 15), kBackground.rgb());
}

void TestSkinButton::captionSitsCentredOverTheImage()
{
    ButtonFixture fixture;
    fixture.button.setText(QStringLiteral("II"));
    const QImage shot = fixture.Shot();
    QRect inked;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if ((shot.pixel(x, y) | 0xFF000000u) != QColor(Qt::red).rgb())
                inked |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(!inked.isEmpty());
    QVERIFY(qAbs(inked.center().x() - shot.width() / 2) <= 2);
    QVERIFY(qAbs(inked.center().y() - shot.height() / 2) <= 3);
}

void TestSkinButton::replacedImagesAreReleased()
{
    ButtonFixture fixture;
    QPixmap play = Solid({36, 40}, Qt::darkGreen);
    QPixmap pause = Solid({36, 40}, Qt::darkRed);
    for (int round = 0; round < 50; ++round) {
        fixture.button.SetStateImages(play, play, play);
        QVERIFY(pause.isDetached());
        fixture.button.SetStateImages(pause, pause, pause);
        QVERIFY(play.isDetached());
    }
    QCOMPARE(fixture.At(1, 1), QColor(Qt::darkRed).rgb());
}

void TestSkinButton::missingImagesDrawNothing()
{
    ButtonFixture fixture;
    fixture.button.SetStateImages(59991u, 59992u, 59993u);
    QCOMPARE(fixture.At(5, 5), kBackground.rgb());
}

QTEST_MAIN(TestSkinButton)
#include "test_skin_button.moc"
