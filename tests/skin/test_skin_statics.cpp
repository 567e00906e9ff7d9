#include "skin/CPicturePanel.h"
#include "skin/CTransparentStatic.h"
#include "skin/CWhiteEdit.h"

#include <QPainter>
#include <QtTest>

namespace
{
const QColor kSkin(0, 160, 0);

// A window painted in one skin colour, hosting the control under test.
class Host : public QWidget
{
public:
    Host()
    {
        resize(300, 200);
        QPalette colors = palette();
        colors.setColor(QPalette::Window, kSkin);
        setPalette(colors);
        setAutoFillBackground(true);
    }
    QImage Shot(const QWidget& child) { return grab(child.geometry()).toImage(); }
};

// Bounding box of the pixels that differ from the background.
QRect Ink(const QImage& image, const QColor& background)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) | 0xFF000000u) != background.rgb())
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

bool HasDarkPixel(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 60)
                return true;
        }
    }
    return false;
}

// Four solid quadrants: red, green / blue, yellow.
QPixmap Quadrants(QSize size)
{
    QPixmap pixmap(size);
    QPainter painter(&pixmap);
    const int w = size.width() / 2;
    const int h = size.height() / 2;
    painter.fillRect(0, 0, w, h, Qt::red);
    painter.fillRect(w, 0, w, h, Qt::green);
    painter.fillRect(0, h, w, h, Qt::blue);
    painter.fillRect(w, h, w, h, Qt::yellow);
    return pixmap;
}
} // namespace

class TestSkinStatics : public QObject
{
    Q_OBJECT
private slots:
    void labelDrawsCentredInTheParentsFontOnTheSkin();
    void outputFolderIsBlackOnWhite();
    void panelShowsItsPictureAtNaturalSize();
    void panelStretchesToItsSize();
    void panelWithoutPictureDrawsNothing();
};

void TestSkinStatics::labelDrawsCentredInTheParentsFontOnTheSkin()
{
    Host host;
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
    QCOMPARE(shot.pixel(0, 79) | 0xFF000000u, kSkin.rgb());
    QVERIFY(HasDarkPixel(shot));
    const QRect ink = Ink(shot, kSkin);
    QVERIFY2(ink.height() >= 15, "drawn in the parent's font");
    QVERIFY(ink.top() < 12);
    QVERIFY(qAbs(ink.center().x() - 100) <= 2);

    // Line breaks in the text start new lines; long lines are not wrapped.
    label.setText(QStringLiteral("Size:\nSize:"));
    QVERIFY(Ink(host.Shot(label), kSkin).height() >= 2 * ink.height());
}

void TestSkinStatics::outputFolderIsBlackOnWhite()
{
    Host host;
    CWhiteEdit edit(&host);
    edit.setGeometry(10, 10, 200, 20);
    edit.setText(QStringLiteral("/home/user/Videos/"));
    const QImage shot = host.Shot(edit);
    QCOMPARE(shot.pixel(1, 1) | 0xFF000000u, QColor(Qt::white).rgb());
    QCOMPARE(shot.pixel(198, 18) | 0xFF000000u, QColor(Qt::white).rgb());
    QVERIFY(HasDarkPixel(shot));
    QVERIFY(edit.isReadOnly());
}

void TestSkinStatics::panelShowsItsPictureAtNaturalSize()
{
    Host host;
    CPicturePanel panel(&host);
    QImage picture(45, 25, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 5, y * 10, (x * y) % 256));
    }
    panel.setGeometry(20, 20, 45, 25);
    panel.SetBitmap(QPixmap::fromImage(picture));
    QCOMPARE(host.Shot(panel), picture);
}

void TestSkinStatics::panelStretchesToItsSize()
{
    Host host;
    CPicturePanel panel(&host);
    panel.setGeometry(0, 0, 40, 30);
    panel.SetBitmap(Quadrants(QSize(40, 30)));
    panel.resize(120, 90);
    const QImage shot = host.Shot(panel);
    QCOMPARE(shot.size(), QSize(120, 90));
    QCOMPARE(shot.pixel(20, 20) | 0xFF000000u, QColor(Qt::red).rgb());
    QCOMPARE(shot.pixel(100, 20) | 0xFF000000u, QColor(Qt::green).rgb());
    QCOMPARE(shot.pixel(20, 70) | 0xFF000000u, QColor(Qt::blue).rgb());
    QCOMPARE(shot.pixel(100, 70) | 0xFF000000u, QColor(Qt::yellow).rgb());
    QCOMPARE(shot.pixel(119, 89) | 0xFF000000u, QColor(Qt::yellow).rgb());
}

void TestSkinStatics::panelWithoutPictureDrawsNothing()
{
    Host host;
    CPicturePanel panel(&host);
    panel.setGeometry(10, 10, 40, 30);
    QVERIFY(Ink(host.Shot(panel), kSkin).isEmpty());

    panel.SetBitmap(Quadrants(QSize(40, 30)));
    QVERIFY(!Ink(host.Shot(panel), kSkin).isEmpty());
    QVERIFY(!panel.LoadBitmapResource(59999));
    QVERIFY(Ink(host.Shot(panel), kSkin).isEmpty());
}

QTEST_MAIN(TestSkinStatics)
#include "test_skin_statics.moc"
