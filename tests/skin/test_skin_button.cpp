#include "skin/CSkinButton.h"
#include "skin/CSkinTestHost.h"

#include <QDialog>
#include <QTimer>

namespace {
const QColor kBackground(255, 0, 255);
const QRgb kRed = QColor(Qt::red).rgb();
const QRgb kGreen = QColor(Qt::green).rgb();
const QRgb kBlue = QColor(Qt::blue).rgb();

QPixmap Solid(QSize size, const QColor& color)
{
    QPixmap pixmap(size);
    pixmap.fill(color);
    return pixmap;
}

// Swallows the leave events of what it watches, as a platform that loses them does.
class CLeaveEater : public QObject
{
protected:
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Leave; }
};

// A 40 x 20 button: red normal, blue pressed, and a green hover image a quarter its size.
struct ButtonFixture
{
    ButtonFixture()
    {
        button.setGeometry(50, 30, 40, 20);
        button.SetStateImages(Solid({40, 20}, Qt::red), Solid({40, 20}, Qt::blue),
                              Solid({20, 10}, Qt::green));
        QCursor::setPos(0, 0); // a button shown under the pointer would start hovered
        QVERIFY(host.ShowExposed());
        host.PointAway();
    }
    QRgb At(int x, int y) { return host.At(button, x, y); }
    void PointAt(QPoint pos) { host.PointAt(button.geometry().topLeft() + pos); }

    CSkinTestHost host{kBackground}; // before the button, which leaves it on destruction
    CSkinButton button{&host};
};
} // namespace

class TestSkinButton : public QObject
{
    Q_OBJECT
private slots:
    void hoverAndPressImages()
    {
        ButtonFixture f;
        f.host.CountPaints(f.button);
        f.PointAt({10, 10});
        f.PointAt({20, 12});
        QTRY_COMPARE(f.host.paints, 1); // once on entering, not on every move
        QCOMPARE(f.At(5, 5), kGreen);
        QCOMPARE(f.At(30, 15), kRed);

        f.host.paints = 0; // the shots paint too
        f.host.PointAway();
        QTRY_COMPARE(f.host.paints, 1);
        QCOMPARE(f.At(5, 5), kRed);

        f.PointAt({10, 10});
        QTest::mousePress(&f.button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(f.At(5, 5), kBlue);
        QCOMPARE(f.At(30, 15), kBlue);
        QTest::mouseRelease(&f.button, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(f.At(5, 5), kRed); // the press cleared the hover
        f.PointAt({11, 10});
        QCOMPARE(f.At(5, 5), kGreen);
    }

    // A modal dialog takes the pointer without the button seeing it leave, and closes
    // with the pointer elsewhere: the hover ends all the same.
    void modalDialogEndsTheHover()
    {
        ButtonFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.host));
        f.PointAt({10, 10});
        QCOMPARE(f.At(5, 5), kGreen);
        CLeaveEater eater;
        f.button.installEventFilter(&eater);
        QDialog modal(&f.host);
        bool activated = false;
        QRgb whileOpen = 0;
        QTimer::singleShot(0, &modal, [&] {
            modal.activateWindow(); // as a desktop gives a new dialog the focus
            activated = QTest::qWaitFor([&] { return QApplication::activeWindow() == &modal; });
            f.host.PointAway();
            whileOpen = f.At(5, 5);
            modal.accept();
        });
        modal.exec();
        QVERIFY(activated);
        QCOMPARE(whileOpen, kRed);
        QCOMPARE(f.At(5, 5), kRed);
    }

    // Focus that Tab brings draws a ring in the skin's light accent; a click's focus does not.
    void keyboardFocusShowsARing()
    {
        ButtonFixture f;
        const QImage plain = f.host.Shot(f.button);
        QTest::mouseClick(&f.button, Qt::LeftButton);
        QVERIFY(f.button.hasFocus());
        QCOMPARE(f.host.Shot(f.button), plain);
        f.button.clearFocus();
        QTest::keyClick(&f.host, Qt::Key_Tab);
        const auto isRing = [](QRgb rgb) { return rgb == QColor(140, 196, 255).rgb(); };
        QCOMPARE(InkBox(f.host.Shot(f.button), isRing), QRect(1, 1, 38, 18));
    }

    // The caption is centred over the image and the button looks the same disabled; an image
    // that does not cover the button leaves the rest to what lies beneath.
    void captionAndImages()
    {
        ButtonFixture f;
        f.button.setText(QStringLiteral("II"));
        const QImage enabled = f.host.Shot(f.button);
        const QRect ink = InkBox(enabled, [](QRgb rgb) { return rgb != kRed; });
        QVERIFY(!ink.isEmpty());
        QVERIFY(qAbs(ink.center().x() - 20) <= 2);
        QVERIFY(qAbs(ink.center().y() - 10) <= 3);
        f.button.setEnabled(false);
        QCOMPARE(f.host.Shot(f.button), enabled);

        f.button.setText(QString());
        f.button.SetStateImages(Solid({10, 10}, Qt::red), QPixmap(), QPixmap());
        QCOMPARE(f.At(5, 5), kRed);
        QCOMPARE(f.At(30, 15), kBackground.rgb());
        f.button.SetStateImages(59991u, 59992u, 59993u);
        QCOMPARE(f.At(5, 5), kBackground.rgb());
    }
};

QTEST_MAIN(TestSkinButton)
#include "test_skin_button.moc"
