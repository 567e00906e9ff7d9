#include "skin/CFlatComboBox.h"
#include "skin/CSkinTestHost.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QStyle>

namespace {
const QRgb kFace = qRgb(200, 200, 200);
const QRgb kLight = qRgb(250, 250, 250);
const QRgb kDark = qRgb(100, 100, 100);

// A 120 x 22 box in known system colours, with a line edit beside it to take the focus.
struct ComboFixture
{
    ComboFixture()
    {
        SetColors(host, {{QPalette::Button, kFace}, {QPalette::Light, kLight}, {QPalette::Dark, kDark}});
        box.setGeometry(20, 20, 120, 22);
        box.addItems({QStringLiteral("320x240"), QStringLiteral("640x480")});
        other.setGeometry(20, 60, 120, 22);
        QVERIFY(host.ShowExposed());
        other.setFocus(); // the box would take it as the window's first control
        host.PointAway();
        QTRY_VERIFY(!box.IsHoverTimerActive());
    }
    // The frame as letters (f face, l light, d dark): outer top-left and bottom-right,
    // the inner ring's, the drop-down button's left edge (two columns) and bottom-right,
    // then the top-left and bottom-right of the button sunk one pixel in.
    QString Frame()
    {
        const int b = 119 - box.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &box);
        const QImage shot = host.Shot(box);
        QString letters;
        const QPoint points[] = {QPoint(0, 0),    QPoint(119, 21),  QPoint(1, 1),
                                 QPoint(118, 20), QPoint(b - 1, 2), QPoint(b, 2),
                                 QPoint(116, 19), QPoint(b + 1, 3), QPoint(117, 20)};
        for (QPoint p : points) {
            const QRgb rgb = shot.pixel(p) | 0xFF000000u;
            letters += QLatin1Char(rgb == kFace ? 'f' : rgb == kLight ? 'l' : rgb == kDark ? 'd' : '?');
        }
        return letters;
    }

    CSkinTestHost host;
    CFlatComboBox box{&host};
    QLineEdit other{&host};
};
} // namespace

class TestFlatCombo : public QObject
{
    Q_OBJECT
private slots:
    void framesPerState()
    {
        ComboFixture f;
        QCOMPARE(f.Frame(), QStringLiteral("fffflllff"));
        // The hot frame comes at once; the timer's ticks while the pointer stays paint nothing.
        f.host.CountPaints(f.box);
        f.host.PointAt(f.box);
        QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameHot);
        QVERIFY(f.box.IsHoverTimerActive());
        QTest::qWait(50); // a few 10 ms ticks, none of which may paint
        QCOMPARE(f.host.paints, 1);
        QCOMPARE(f.Frame(), QStringLiteral("dlfffldff"));
        QTest::mousePress(&f.box, Qt::LeftButton, {}, f.box.rect().center());
        QTRY_COMPARE(f.box.DrawnFrame(), CFlatComboBox::kFramePressed);
        QVERIFY(!f.box.IsHoverTimerActive());
        QCOMPARE(f.Frame(), QStringLiteral("dlfffffdl"));

        // The open list sees the release; closing it ends the press, so the next hover is hot.
        QWidget* list = f.box.view()->window();
        QVERIFY(list->isVisible());
        QTest::mouseRelease(list, Qt::LeftButton, {}, QPoint(-5, -5));
        f.box.hidePopup();
        QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameHot);
        f.other.setFocus();
        f.host.PointAway();
        QTRY_VERIFY(!f.box.IsHoverTimerActive()); // the tick that sees the pointer gone stops it
        QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameNormal);
        f.host.PointAt(f.box);
        QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameHot);

        // New system colours are read at once.
        SetColors(f.box, {{QPalette::Dark, Qt::darkBlue}});
        QCOMPARE(f.host.At(f.box, 0, 0), QColor(Qt::darkBlue).rgb());

        f.host.PointAway();
        f.box.setEnabled(false);
        QCOMPARE(f.Frame(), QStringLiteral("ffllffffl"));
    }

    void focusKeepsTheHotFrame()
    {
        ComboFixture f;
        f.host.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.host));
        // From the keyboard: hot without the pointer, and no timer needed.
        f.box.setFocus(Qt::TabFocusReason);
        QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameHot);
        QVERIFY(!f.box.IsHoverTimerActive());

        // The pointer passing by leaves it hot, with the timer running.
        f.host.PointAt(f.box);
        f.host.PointAway();
        QTest::qWait(50); // a few ticks that see the pointer gone, none of which may end the hot frame
        QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameHot);
        QVERIFY(f.box.IsHoverTimerActive());

        // Losing the focus makes it normal at once; the next tick stops the timer.
        f.other.setFocus(Qt::TabFocusReason);
        QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameNormal);
        QTRY_VERIFY(!f.box.IsHoverTimerActive());
        QCOMPARE(f.box.DrawnFrame(), CFlatComboBox::kFrameNormal);
    }
};

QTEST_MAIN(TestFlatCombo)
#include "test_flat_combo.moc"
