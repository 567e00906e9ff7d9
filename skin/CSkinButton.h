// A push button drawn from three bitmaps: normal, hover and pressed.
#pragma once

#include <QPixmap>
#include <QPushButton>

class CSkinButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CSkinButton(QWidget* parent = nullptr);
    ~CSkinButton() override;

    // Images by bitmap resource id; replaces earlier ones. Does not repaint.
    void SetStateImages(unsigned normalId, unsigned pressedId, unsigned hoverId);
    void SetStateImages(const QPixmap& normal, const QPixmap& pressed, const QPixmap& hover);

    bool IsHover() const { return m_bHover; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void SetHover(bool hover);

    bool m_bHover = false;
    QPixmap m_bmpNormal;
    QPixmap m_bmpPressed;
    QPixmap m_bmpHover;
};
