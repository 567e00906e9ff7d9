// A stand-in for the finished window: the skin with every button in one state and
// simple placeholders for the controls the program draws itself.
#pragma once

#include "SkinLayout.h"

#include <QImage>

#include <map>

namespace MockupArt {

// With ButtonState::Normal the getting-started panel stands where the job list
// goes, as at start-up; otherwise the list and a running progress bar are shown.
QImage compose(const std::map<int, QImage>& bitmaps, ButtonState state);

} // namespace MockupArt
