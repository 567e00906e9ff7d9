#include "SkinLayout.h"
#include "res/IconSizes.h"
#include "res/SkinResources.h"

#include "res/resource.h"

#include <QImage>
#include <QtTest>

class TestSkinRes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { InitSkinResources(); }

    // Every button image at its size and opaque; the icon in every size, clear outside its tile.
    void bitmapsAndIconsLoadAtTheirSizes()
    {
        for (const ButtonDesign& b : SkinLayout::buttons()) {
            for (ButtonState s : {ButtonState::Normal, ButtonState::Hover, ButtonState::Pressed}) {
                const int id = SkinLayout::imageId(b, s);
                const QImage image(QStringLiteral(":/skin/%1.png").arg(id));
                QVERIFY2(!image.isNull(), qPrintable(QString::number(id)));
                QCOMPARE(image.size(), SkinLayout::imageSize(b, s));
                QVERIFY(!image.hasAlphaChannel());
            }
        }
        for (int size : kAppIconSizesPx) {
            const QImage icon(QStringLiteral(":/skin/128-%1.png").arg(size));
            QCOMPARE(icon.size(), QSize(size, size));
            QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestSkinRes)
#include "test_skinres.moc"
