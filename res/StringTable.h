// The program's string resources and the addresses it opens.
#pragma once

#include <QString>

#define kProductName "Virav Velmora Video Converter"
#define kHomePageUrl "https://viravvelmora.example/"
// The home page link's caption carries a trailing space, as the About box shows it.
#define kHomePageCaption "https://viravvelmora.example/ "
#define kSupportMailAddress "support@viravvelmora.example"

// String resources by id; an empty string for an unknown id.
QString LoadResourceString(int id);
