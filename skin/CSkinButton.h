// A push button drawn from three bitmaps: normal, hover and pressed.
#pragma once

#include <QList>
#include <QPixmap>
#include <QPushButton>

#include <array>

class CSkinButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CSkinButton(QWidget* parent = nullptr);
    ~CSkinButton() override;

    // Images by bitmap resource id; replaces earlier ones. The normal image's name
    // (ImageButtonName) becomes the tooltip and the accessible name. Does not repaint.
    void SetStateImages(unsigned normalId, unsigned pressedId, unsigned hoverId);
    // Images without ids (0 in ShownImages); the name stays.
    void SetStateImages(const QPixmap& normal, const QPixmap& pressed, const QPixmap& hover);

    bool IsHover() const { return m_bHover; }
    // The ids of the images it shows now, in the order it draws them: the pressed one alone
    // while held down, otherwise the normal one with the hover one over it while hovered.
    QList<unsigned> ShownImages() const;

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
    std::array<unsigned, 3> m_imageIds{}; // by ImageSlot
};
