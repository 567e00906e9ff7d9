// What an image button shows in each of its states, compared with skin bitmaps by id.
#pragma once

#include "res/SkinBitmaps.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QStringList>

// Whether the button's picture stays the same when the bitmaps are painted over it at
// its top left, in order: what they do not cover is left out of the comparison.
inline bool ShowsBitmaps(QAbstractButton& button, const QList<int>& ids)
{
    const QImage shown = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage expected = shown;
    QPainter painter(&expected);
    for (int id : ids) {
        const QPixmap bitmap = LoadSkinBitmap(id);
        if (bitmap.isNull())
            return false;
        painter.drawPixmap(0, 0, bitmap);
    }
    painter.end();
    return !shown.isNull() && shown == expected;
}

// The states, of "normal", "pressed" and "hover", in which the button does not show its
// bitmap: the normal one at rest, the pressed one alone while held down, the hover one
// over the normal one while the pointer is over it.
inline QStringList MismatchedStates(QAbstractButton& button, int normal, int pressed, int hover)
{
    QStringList mismatched;
    if (!ShowsBitmaps(button, {normal}))
        mismatched << QStringLiteral("normal");
    button.setDown(true);
    if (!ShowsBitmaps(button, {pressed}))
        mismatched << QStringLiteral("pressed");
    button.setDown(false);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), button.mapToGlobal(QPointF(1, 1)));
    QCoreApplication::sendEvent(&button, &enter);
    if (!ShowsBitmaps(button, {normal, hover}))
        mismatched << QStringLiteral("hover");
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    return mismatched;
}
