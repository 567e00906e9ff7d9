// Counts the paint events a widget receives.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

class CPaintCounter : public QObject
{
public:
    explicit CPaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};
