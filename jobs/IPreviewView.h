// What the preview transport shows and asks through the window that hosts it.
#pragma once

#include <QString>

class IPreviewView
{
public:
    // 0..3, in the order of the stretch mode list.
    virtual int StretchMode() const = 0;
    // The play button's pause look while a preview plays, its play look otherwise; shown at once.
    virtual void ShowPlayLook(bool playing) = 0;
    // A message box with OK under the program's caption.
    virtual void Tell(const QString& text) = 0;

protected:
    ~IPreviewView() = default;
};
