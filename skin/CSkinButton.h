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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_bHover = false;
    QPixmap m_bmpNormal;
    QPixmap m_bmpPressed;
    QPixmap m_bmpHover;
};
