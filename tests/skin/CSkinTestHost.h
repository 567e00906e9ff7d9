// A window in one plain colour hosting the control under test, with the pointer,
// the screen shots and the count of repaints the skin tests need.
#pragma once

#include <QtTest>

// A grab with one pixel per window pixel, whatever the screen's scale.
inline QImage WindowPixels(const QPixmap& grab)
{
    return grab.toImage().scaled(grab.deviceIndependentSize().toSize()).convertToFormat(QImage::Format_RGB32);
}

// Sets these colours of the widget's palette, as the system's would be.
inline void SetColors(QWidget& widget, std::initializer_list<std::pair<QPalette::ColorRole, QColor>> colors)
{
    QPalette palette = widget.palette();
    for (const auto& [role, color] : colors)
        palette.setColor(role, color);
    widget.setPalette(palette);
}

class CSkinTestHost : public QWidget
{
public:
    explicit CSkinTestHost(const QColor& background = Qt::white)
    {
        resize(300, 200);
        SetColors(*this, {{QPalette::Window, background}});
        setAutoFillBackground(true);
    }

    bool ShowExposed()
    {
        show();
        return QTest::qWaitForWindowExposed(this);
    }
    // Moves the real pointer as well: some controls poll QCursor::pos().
    void PointAt(QPoint pos)
    {
        QCursor::setPos(mapToGlobal(pos));
        QTest::mouseMove(this, pos);
        QCoreApplication::processEvents();
    }
    void PointAt(const QWidget& child) { PointAt(child.geometry().center()); }
    void PointAway() { PointAt(QPoint(width() - 5, height() - 5)); }

    QImage Shot(const QWidget& child) { return WindowPixels(grab(child.geometry())); }
    QRgb At(const QWidget& child, int x, int y) { return Shot(child).pixel(x, y) | 0xFF000000u; }

    // From now on paints counts the paint events child receives.
    void CountPaints(QWidget& child) { child.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// Bounding box of the pixels of image for which hit(rgb) holds.
template <typename Hit> QRect InkBox(const QImage& image, Hit hit)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (hit(image.pixel(x, y) | 0xFF000000u))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}
