#include "skin/CPicturePanel.h"
#include "skin/CSkinTestHost.h"
#include "skin/CTransparentStatic.h"
#include "skin/CWhiteEdit.h"

#include <QPainter>

namespace {
const QRgb kSkin = qRgb(0, 160, 0);

const auto isDark = [](QRgb rgb) { return qGray(rgb) < 60; };
const auto isInk = [](QRgb rgb) { return rgb != kSkin; };
} // namespace

class TestSkinStatics : public QObject
{
    Q_OBJECT
private slots:
    void labelDrawsCentredInTheParentsFontOnTheSkin()
    {
        CSkinTestHost host(kSkin);
        QFont large = host.font();
        large.setPixelSize(30);
        host.setFont(large);
        CTransparentStatic label(&host);
        QFont tiny = label.font();
        tiny.setPixelSize(6);
        label.setFont(tiny);
        label.setGeometry(10, 10, 200, 80);
        label.setText(QStringLiteral("Size:"));

        const QImage shot = host.Shot(label);
        QCOMPARE(shot.pixel(0, 79) | 0xFF000000u, kSkin);
        QVERIFY(!InkBox(shot, isDark).isEmpty());
        const QRect ink = InkBox(shot, isInk);
        QVERIFY2(ink.height() >= 15, "drawn in the parent's font");
        QVERIFY(ink.top() < 12);
        QVERIFY(qAbs(ink.center().x() - 100) <= 2);

        // Line breaks in the text start new lines.
        label.setText(QStringLiteral("Size:\nSize:"));
        QVERIFY(InkBox(host.Shot(label), isInk).height() >= 2 * ink.height());
    }

    void outputFolderShowsALongPathFromItsStart()
    {
        CSkinTestHost host(kSkin);
        CWhiteEdit edit(&host);
        edit.setGeometry(10, 10, 200, 20);
        edit.setText(QStringLiteral("/home/user/") + QString(80, QLatin1Char('x')));
        QCOMPARE(edit.cursorPosition(), 0);
    }

    void panelShowsItsPictureStretched()
    {
        CSkinTestHost host(kSkin);
        CPicturePanel panel(&host);
        panel.setGeometry(20, 20, 40, 30);
        QVERIFY(InkBox(host.Shot(panel), isInk).isEmpty());

        // Four quadrants, red green over blue yellow, drawn for the screen's scale: at natural
        // size pixel for pixel.
        QImage picture(QSize(40, 30) * host.devicePixelRatio(), QImage::Format_RGB32);
        picture.setDevicePixelRatio(host.devicePixelRatio());
        QPainter painter(&picture);
        const Qt::GlobalColor quadrants[]{Qt::red, Qt::green, Qt::blue, Qt::yellow};
        for (int i = 0; i < 4; ++i)
            painter.fillRect(i % 2 * 20, i / 2 * 15, 20, 15, quadrants[i]);
        painter.end();
        panel.SetBitmap(QPixmap::fromImage(picture));
        QCOMPARE(host.Shot(panel), WindowPixels(QPixmap::fromImage(picture)));
        panel.resize(120, 90);
        for (int i = 0; i < 4; ++i) // the corners
            QCOMPARE(host.At(panel, i % 2 * 119, i / 2 * 89), QColor(quadrants[i]).rgb());

        // A picture that fails to load leaves nothing drawn.
        QVERIFY(!panel.LoadBitmapResource(59999));
        QVERIFY(InkBox(host.Shot(panel), isInk).isEmpty());
    }
};

QTEST_MAIN(TestSkinStatics)
#include "test_skin_statics.moc"
