// A drop-down list that paints a flat frame, hot while hovered or focused.
#pragma once

#include <QColor>
#include <QComboBox>
#include <QTimer>

class CFlatComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit CFlatComboBox(QWidget* parent = nullptr);
    ~CFlatComboBox() override;

    void hidePopup() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum FrameState
    {
        kFrameNormal = 1,
        kFrameHot = 2,
        kFramePressed = 3,
    };

    bool IsCursorOver() const;
    void ReadColors();
    void StartHoverTimer();
    void OnTimerStep();
    void EndPress();
    void ShowFrame(FrameState state);
    void DrawFlatFrame(QPainter& dc, FrameState state, const QColor& topLeft,
                       const QColor& bottomRight) const;

    const int m_nThumbWidth;
    bool m_bLButtonDown = false;
    bool m_bHotFrameShown = false;
    bool m_bHasFocus = false;
    FrameState m_nFrame = kFrameNormal;
    QColor m_crHighlight;
    QColor m_crShadow;
    QColor m_crFace;
    QTimer m_timer;
};
