// A push button drawn from three bitmaps: normal, hover and pressed.
#pragma once

#include <QList>
#include <QPixmap>
#include <QPushButton>

class CSkinButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CSkinButton(QWidget* parent = nullptr);
    ~CSkinButton() override;

    // Images by bitmap resource id; replaces earlier ones. The normal image's name
    // (ImageButtonName) becomes the tooltip and the accessible name. Does not repaint.
    void SetStateImages(unsigned normalId, unsigned pressedId, unsigned hoverId);
    // Images without ids; the name stays.
    void SetStateImages(const QPixmap& normal, const QPixmap& pressed, const QPixmap& hover);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    enum ImageSlot
    {
        kNormal,
        kPressed,
        kHover
    };
    QList<ImageSlot> ShownSlots() const;
    void SetHover(bool hover);
    bool ShowsKeyboardFocus() const;

    bool m_bHover = false;
    QPixmap m_bmpNormal;
    QPixmap m_bmpPressed;
    QPixmap m_bmpHover;
};
