// The program's string resources and the addresses it opens.
#pragma once

#include "res/Version.h"

#include <QString>

#include <vector>

#define kProductName "Virav Velmora Video Converter"
#define kHomePageUrl VV_HOME_PAGE
// The home page link's caption carries a trailing space, as the About box shows it.
#define kHomePageCaption VV_HOME_PAGE " "
#define kSupportMailAddress VV_SUPPORT_MAIL

// String resources by id; an empty string for an unknown id.
QString LoadResourceString(int id);

// What a control of the main window is called: the tooltip and accessible name of an
// image button, found by the bitmap its normal look shows (the play button's changes
// with its look), or the accessible name of another control (normalImage 0), found by
// its id and matching its label on screen.
struct ControlName
{
    int id;
    unsigned normalImage;
    const char* name;
};
const std::vector<ControlName>& ConverterControlNames();

// The name of the image button whose normal look is the given bitmap; empty for none.
QString ImageButtonName(unsigned normalImage);
