#include "skin/CFlatComboBox.h"
#include "support/CPaintCounter.h"

#include <QLineEdit>
#include <QStyle>
#include <QtTest>

namespace
{
const QColor kFace(200, 200, 200);
const QColor kLight(250, 250, 250);
const QColor kDark(100, 100, 100);

// A 120 x 22 box with a line edit beside it to take the focus away.
class ComboFixture
{
public:
    ComboFixture()
    {
        m_host.resize(300, 100);
        QPalette colors = m_host.palette();
        colors.setColor(QPalette::Button, kFace);
        colors.setColor(QPalette::Light, kLight);
        colors.setColor(QPalette::Dark, kDark);
        m_host.setPalette(colors);
        box.setParent(&m_host);
        box.setGeometry(20, 20, 120, 22);
        box.addItems({QStringLiteral("320x240"), QStringLiteral("640x480")});
        other.setParent(&m_host);
        other.setGeometry(20, 60, 120, 22);
        thumb = box.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &box);
        m_host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_host));
        // The box would take the focus as the window's first control.
        other.setFocus();
        PointAt(QPoint(250, 90));
        QTest::qWait(20);
    }

    void PointAt(QPoint hostPos)
    {
        QCursor::setPos(m_host.mapToGlobal(hostPos));
        QTest::mouseMove(&m_host, hostPos);
        QCoreApplication::processEvents();
    }
    void PointAtBox() { PointAt(box.geometry().center()); }
    void PointAway() { PointAt(QPoint(250, 90)); }
    void Activate()
    {
        m_host.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_host));
    }
    QRgb At(int x, int y) { return m_host.grab(box.geometry()).toImage().pixel(x, y) | 0xFF000000u; }

private:
    QWidget m_host;

public:
    CFlatComboBox box;
    QLineEdit other;
    int thumb = 0;
};
} // namespace

class TestFlatCombo : public QObject
{
    Q_OBJECT
private slots:
    void framesPerState();
    void hotFrameComesAtOnceAndLeavesWithTheTimer();
    void hoverPaintsOnlyOnChange();
    void focusKeepsTheHotFrame();
    void holdingTheButtonShowsItPressed();
    void newSystemColoursAreUsed();
};

void TestFlatCombo::framesPerState()
{
    ComboFixture f;
    const int button = 119 - f.thumb; // left edge of the drop-down button's edges
    // Normal: flat outer rings, button edged in the light colour on two columns.
    QCOMPARE(f.At(0, 0), kFace.rgb());
    QCOMPARE(f.At(119, 21), kFace.rgb());
    QCOMPARE(f.At(1, 1), kFace.rgb());
    QCOMPARE(f.At(button, 2), kLight.rgb());
    QCOMPARE(f.At(button - 1, 2), kLight.rgb());
    QCOMPARE(f.At(116, 19), kLight.rgb());

    // Hot: sunken outer edge, raised button.
    f.PointAtBox();
    QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameHot);
    QCOMPARE(f.At(0, 0), kDark.rgb());
    QCOMPARE(f.At(119, 21), kLight.rgb());
    QCOMPARE(f.At(button, 2), kLight.rgb());
    QCOMPARE(f.At(116, 19), kDark.rgb());
    QCOMPARE(f.At(button - 1, 2), kFace.rgb());

    // Disabled: light inner ring and no button edges.
    f.PointAway();
    QTest::qWait(30);
    f.box.setEnabled(false);
    QCOMPARE(f.At(1, 1), kLight.rgb());
    QCOMPARE(f.At(118, 20), kLight.rgb());
    QCOMPARE(f.At(button, 2), kFace.rgb());
    QCOMPARE(f.At(116, 19), kFace.rgb());
}

void TestFlatCombo::hotFrameComesAtOnceAndLeavesWithTheTimer()
{
    ComboFixture f;
    QVERIFY(!f.box.IsHoverTimerActive());
    f.PointAtBox();
    QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameHot);
    QVERIFY(f.box.IsHoverTimerActive());

    f.PointAway();
    QTRY_VERIFY_WITH_TIMEOUT(!f.box.IsHoverTimerActive(), 500);
    QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameNormal);
}

void TestFlatCombo::hoverPaintsOnlyOnChange()
{
    ComboFixture f;
    CPaintCounter paints(&f.box);
    f.PointAtBox();
    QTest::qWait(100); // ten ticks or so
    QCOMPARE(paints.count, 1);
    f.PointAway();
    QTest::qWait(100);
    QCOMPARE(paints.count, 2);
}

void TestFlatCombo::focusKeepsTheHotFrame()
{
    ComboFixture f;
    f.Activate();
    // From the keyboard: hot without the pointer, and no timer needed.
    f.box.setFocus(Qt::TabFocusReason);
    QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameHot);
    QVERIFY(!f.box.IsHoverTimerActive());

    // Leaving with the focus keeps it hot, with the timer running.
    f.PointAtBox();
    f.PointAway();
    QTest::qWait(50);
    QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameHot);
    QVERIFY(f.box.IsHoverTimerActive());

    // The focus going elsewhere takes it back at once; the next tick stops the timer.
    f.other.setFocus(Qt::TabFocusReason);
    QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameNormal);
    QTRY_VERIFY_WITH_TIMEOUT(!f.box.IsHoverTimerActive(), 500);
    QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameNormal);
}

void TestFlatCombo::holdingTheButtonShowsItPressed()
{
    ComboFixture f;
    f.PointAtBox();
    QTest::mousePress(&f.box, Qt::LeftButton, {}, f.box.rect().center());
    QTRY_COMPARE_WITH_TIMEOUT(f.box.DrawnFrame(), CFlatComboBox::kFramePressed, 500);
    QVERIFY(!f.box.IsHoverTimerActive());
    const int button = 120 - f.thumb; // the sunken button sits one pixel in
    QCOMPARE(f.At(button, 3), kDark.rgb());
    QCOMPARE(f.At(117, 20), kLight.rgb());

    // Closing the list ends the press, whichever window saw the release.
    f.box.hidePopup();
    QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameHot);
    // The click gave the box the focus, so only losing that makes it normal again.
    f.PointAway();
    QTest::qWait(30);
    QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameHot);
    f.other.setFocus();
    QTRY_COMPARE_WITH_TIMEOUT(f.box.DrawnFrame(), CFlatComboBox::kFrameNormal, 500);
}

void TestFlatCombo::newSystemColoursAreUsed()
{
    ComboFixture f;
    f.PointAtBox();
    QPalette colors = f.box.palette();
    colors.setColor(QPalette::Dark, Qt::darkBlue);
    f.box.setPalette(colors);
    QCOMPARE(f.At(0, 0), QColor(Qt::darkBlue).rgb());
}

QTEST_MAIN(TestFlatCombo)
#include "test_flat_combo.moc"
