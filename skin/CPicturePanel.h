// Shows one bitmap stretched over the whole client area.
#pragma once

#include <QPixmap>
#include <QRect>
#include <QWidget>

class CPicturePanel : public QWidget
{
    Q_OBJECT
public:
    explicit CPicturePanel(QWidget* parent = nullptr);
    ~CPicturePanel() override;

    void SetBitmap(const QPixmap& bitmap);
    bool LoadBitmapResource(int id);
    void ResetSourceRect();
    void RecalcLayout(bool repaint);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPixmap m_bitmap;
    QRect m_rcSource;
    QRect m_rcDest;
};
