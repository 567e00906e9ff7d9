// Where every piece of the skin sits in the 750 x 560 main window, and which
// bitmap ids each button draws, read from the program's own layout tables; the look
// of each button and the size of its images are the artwork's own. The artwork and
// the mockup both read it.
#pragma once

#include "res/resource.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

enum class ButtonState
{
    Normal,
    Hover,
    Pressed
};

// The body a button image gets drawn around its glyph.
enum class ButtonFace
{
    Tile,
    Transport,
    Caption,
    Menu,
    Pill
};

enum class Glyph
{
    AddFiles,
    StopConvert,
    Convert,
    ListMenu,
    HomePage,
    SelectFolder,
    Explore,
    PrevClip,
    Back10,
    Play,
    Pause,
    StopPreview,
    Forward10,
    NextClip,
    Help,
    Minimize,
    Close,
    MenuFile,
    MenuEdit,
    MenuHelp,
};

struct ButtonDesign
{
    int normalId;
    int hoverId;
    int pressedId;
    QRect layout;      // the window gives the button this rectangle
    QSize imageSize;   // bitmap size; may exceed the layout, the window clips it
    QSize pressedSize; // the pressed bitmap's size where it differs (the File menu's)
    ButtonFace face;
    Glyph glyph;
};

struct LabelSpot
{
    QString text;
    QRect rect;
};

namespace SkinLayout {

constexpr QSize windowSize{MAIN_WINDOW_WIDTH, MAIN_WINDOW_HEIGHT};

// The title area, with the product name, the menu bar and the window buttons.
constexpr int titleHeight = 53;

// The rectangle the window gives a control of the main dialog at every paint.
QRect controlRect(int controlId);

const std::vector<ButtonDesign>& buttons();

// Every bitmap id the skin provides, buttons first, then background and panel.
std::vector<int> bitmapIds();

int imageId(const ButtonDesign& button, ButtonState state);
QSize imageSize(const ButtonDesign& button, ButtonState state);

// Labels the program draws (black, 8 pt sans, centred from the top) and the
// four drop-down lists with their first items, for the mockup.
const std::vector<LabelSpot>& labels();
const std::vector<LabelSpot>& combos();
// The section headings, where the window places them once at setup.
const std::vector<LabelSpot>& headings();

} // namespace SkinLayout
