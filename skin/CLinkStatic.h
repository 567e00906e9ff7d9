// A static text that works as a hyperlink: blue, purple once visited, red under
// the pointer, underlined, with a hand cursor and the target as its tooltip.
#pragma once

#include "res/ColorRef.h"

#include <QLabel>
#include <QTimer>

class CLinkStatic : public QLabel
{
    Q_OBJECT
public:
    explicit CLinkStatic(QWidget* parent = nullptr);
    ~CLinkStatic() override;

    // Makes the label a link once its dialog has given it its text and place:
    // takes the caption as URL when none was set, underlines the font, fits
    // the window to the text and starts following the pointer. Runs once.
    void PreSubclassWindow();

    void SetLinkURL(const QString& url);
    void SetVisited(bool visited);
    bool IsVisited() const { return m_bVisited; }
    COLORREF TextColor() const;

    // Opens url through the desktop, or failing that starts the default browser
    // with it. Returns whether either was started.
    static bool OpenURL(const QString& url);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FitToText();
    void OnHoverTimer();

    COLORREF m_crUnvisited = MakeRgb(0, 0, 255);
    COLORREF m_crVisited = MakeRgb(85, 26, 139);
    COLORREF m_crHover = MakeRgb(255, 0, 0);
    bool m_bHovering = false;
    bool m_bVisited = false;
    bool m_bSetUp = false;
    bool m_bPressed = false;
    QString m_strURL;
    QTimer m_timer;
};
