// Shows one bitmap stretched over the whole client area.
#pragma once

#include <QPixmap>
#include <QWidget>

class CPicturePanel : public QWidget
{
    Q_OBJECT
public:
    explicit CPicturePanel(QWidget* parent = nullptr);
    ~CPicturePanel() override;

    void SetBitmap(const QPixmap& bitmap);
    bool LoadBitmapResource(int id);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_bitmap;
};
