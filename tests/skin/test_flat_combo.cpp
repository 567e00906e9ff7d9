#include "skin/CFlatComboBox.h"
#include "skin/CSkinTestHost.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QStyle>

namespace {
const QRgb kFace = qRgb(200, 200, 200);
const QRgb kLight = qRgb(250, 250, 250);
const QRgb kDark = qRgb(100, 100, 100);
const QString kNormal = QStringLiteral("fffflllff");
const QString kHot = QStringLiteral("dlfffldff");

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
        QTRY_VERIFY(!TimerRuns());
    }
    // The hover timer, the box's one timer.
    bool TimerRuns() const { return box.findChild<QTimer*>()->isActive(); }
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
        QCOMPARE(f.Frame(), kNormal);
        // The hot frame comes at once; the timer's ticks while the pointer stays paint nothing.
        f.host.CountPaints(f.box);
        f.host.PointAt(f.box);
        QVERIFY(!QTest::qWaitFor([&f] { return f.host.paints > 1; }, 50)); // a few 10 ms ticks
        QCOMPARE(f.host.paints, 1);
        QCOMPARE(f.Frame(), kHot);
        QTest::mousePress(&f.box, Qt::LeftButton, {}, f.box.rect().center());
        QTRY_COMPARE(f.Frame(), QStringLiteral("dlfffffdl"));
        QVERIFY(!f.TimerRuns());

        // The open list sees the release; closing it ends the press, so the next hover is hot.
        QWidget* list = f.box.view()->window();
        QVERIFY(list->isVisible());
        QTest::mouseRelease(list, Qt::LeftButton, {}, QPoint(-5, -5));
        f.box.hidePopup();
        QCOMPARE(f.Frame(), kHot);
        f.other.setFocus();
        f.host.PointAway();
        QTRY_VERIFY(!f.TimerRuns()); // the tick that sees the pointer gone stops it
        QCOMPARE(f.Frame(), kNormal);
        f.host.PointAt(f.box);
        QCOMPARE(f.Frame(), kHot);

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
        QCOMPARE(f.Frame(), kHot);
        QVERIFY(!f.TimerRuns());

        // The pointer passing by leaves it hot: the ticks that see the pointer gone do not end it.
        f.host.PointAt(f.box);
        f.host.PointAway();
        QVERIFY(!QTest::qWaitFor([&f] { return f.Frame() != kHot; }, 50));
        QVERIFY(f.TimerRuns());

        // Losing the focus makes it normal at once; the next tick stops the timer.
        f.other.setFocus(Qt::TabFocusReason);
        QCOMPARE(f.Frame(), kNormal);
        QTRY_VERIFY(!f.TimerRuns());
        QCOMPARE(f.Frame(), kNormal);
    }
};

QTEST_MAIN(TestFlatCombo)
#include "test_flat_combo.moc"
