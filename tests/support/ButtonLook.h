// What an image button shows in each of its states, by the ids of its skin bitmaps.
#pragma once

#include "skin/CSkinButton.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QStringList>

// The states, of "normal", "pressed" and "hover", in which the button does not show its
// bitmap: the normal one at rest, the pressed one alone while held down, the hover one
// over the normal one while the pointer is over it.
inline QStringList MismatchedStates(QAbstractButton& button, unsigned normal, unsigned pressed,
                                    unsigned hover)
{
    const auto shows = [&button](const QList<unsigned>& ids) {
        const auto* skin = qobject_cast<const CSkinButton*>(&button);
        return skin && skin->ShownImages() == ids;
    };
    QStringList mismatched;
    if (!shows({normal}))
        mismatched << QStringLiteral("normal");
    button.setDown(true);
    if (!shows({pressed}))
        mismatched << QStringLiteral("pressed");
    button.setDown(false);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), button.mapToGlobal(QPointF(1, 1)));
    QCoreApplication::sendEvent(&button, &enter);
    if (!shows({normal, hover}))
        mismatched << QStringLiteral("hover");
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    return mismatched;
}
