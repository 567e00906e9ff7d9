#include "SkinLayout.h"

#include "res/resource.h"

namespace SkinLayout {

namespace {

ButtonDesign make(int normal, int hover, int pressed, QRect layout, QSize image, ButtonFace face, Glyph glyph)
{
    return ButtonDesign{normal, hover, pressed, layout, image, image, face, glyph};
}

std::vector<ButtonDesign> makeButtons()
{
    const QSize tile(52, 54);
    const QSize transportStd(36, 40);
    const QSize caption(20, 16);
    std::vector<ButtonDesign> all{
        make(IDB_FILEMENU_NORMAL, IDB_FILEMENU_HOVER, IDB_FILEMENU_PRESSED, {30, 30, 40, 19}, {40, 19},
             ButtonFace::Menu, Glyph::MenuFile),
        make(IDB_EDITMENU_NORMAL, IDB_EDITMENU_HOVER, IDB_EDITMENU_PRESSED, {72, 31, 40, 19}, {40, 19},
             ButtonFace::Menu, Glyph::MenuEdit),
        make(IDB_HELPMENU_NORMAL, IDB_HELPMENU_HOVER, IDB_HELPMENU_PRESSED, {114, 30, 45, 19}, {45, 19},
             ButtonFace::Menu, Glyph::MenuHelp),
        make(IDB_HELP_NORMAL, IDB_HELP_HOVER, IDB_HELP_PRESSED, {660, 5, 20, 15}, caption,
             ButtonFace::Caption, Glyph::Help),
        make(IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_HOVER, IDB_MINIMIZE_PRESSED, {680, 5, 20, 15}, caption,
             ButtonFace::Caption, Glyph::Minimize),
        make(IDB_CLOSE_NORMAL, IDB_CLOSE_HOVER, IDB_CLOSE_PRESSED, {700, 5, 20, 15}, caption,
             ButtonFace::Caption, Glyph::Close),
        make(IDB_ADDFILES_NORMAL, IDB_ADDFILES_HOVER, IDB_ADDFILES_PRESSED, {50, 325, 50, 52}, tile,
             ButtonFace::Tile, Glyph::AddFiles),
        make(IDB_STOPCONVERT_NORMAL, IDB_STOPCONVERT_HOVER, IDB_STOPCONVERT_PRESSED, {130, 325, 50, 52}, tile,
             ButtonFace::Tile, Glyph::StopConvert),
        make(IDB_CONVERT_NORMAL, IDB_CONVERT_HOVER, IDB_CONVERT_PRESSED, {220, 325, 50, 52}, tile,
             ButtonFace::Tile, Glyph::Convert),
        make(IDB_LISTMENU_NORMAL, IDB_LISTMENU_HOVER, IDB_LISTMENU_PRESSED, {300, 325, 50, 52}, tile,
             ButtonFace::Tile, Glyph::ListMenu),
        make(IDB_HOMEPAGE_NORMAL, IDB_HOMEPAGE_HOVER, IDB_HOMEPAGE_PRESSED, {390, 325, 50, 52}, tile,
             ButtonFace::Tile, Glyph::HomePage),
        make(IDB_PREV_NORMAL, IDB_PREV_HOVER, IDB_PREV_PRESSED, {500, 235, 41, 40}, {41, 40},
             ButtonFace::Transport, Glyph::PrevClip),
        make(IDB_BACK10_NORMAL, IDB_BACK10_HOVER, IDB_BACK10_PRESSED, {541, 235, 36, 40}, transportStd,
             ButtonFace::Transport, Glyph::Back10),
        make(IDB_PLAY_NORMAL, IDB_PLAY_HOVER, IDB_PLAY_PRESSED, {577, 235, 36, 40}, transportStd,
             ButtonFace::Transport, Glyph::Play),
        make(IDB_PAUSE_NORMAL, IDB_PAUSE_HOVER, IDB_PAUSE_PRESSED, {577, 235, 36, 40}, transportStd,
             ButtonFace::Transport, Glyph::Pause),
        make(IDB_STOP_NORMAL, IDB_STOP_HOVER, IDB_STOP_PRESSED, {613, 235, 36, 40}, transportStd,
             ButtonFace::Transport, Glyph::StopPreview),
        make(IDB_FWD10_NORMAL, IDB_FWD10_HOVER, IDB_FWD10_PRESSED, {649, 235, 36, 40}, transportStd,
             ButtonFace::Transport, Glyph::Forward10),
        make(IDB_NEXT_NORMAL, IDB_NEXT_HOVER, IDB_NEXT_PRESSED, {685, 235, 40, 40}, {40, 40},
             ButtonFace::Transport, Glyph::NextClip),
        make(IDB_SELECTFOLDER_NORMAL, IDB_SELECTFOLDER_HOVER, IDB_SELECTFOLDER_PRESSED, {324, 470, 60, 20},
             {60, 21}, ButtonFace::Pill, Glyph::SelectFolder),
        make(IDB_EXPLORE_NORMAL, IDB_EXPLORE_HOVER, IDB_EXPLORE_PRESSED, {387, 470, 55, 20}, {55, 21},
             ButtonFace::Pill, Glyph::Explore),
    };
    all.front().pressedSize = QSize(41, 20);
    return all;
}

} // namespace

const std::vector<ButtonDesign>& buttons()
{
    static const std::vector<ButtonDesign> all = makeButtons();
    return all;
}

std::vector<int> bitmapIds()
{
    std::vector<int> ids;
    for (const ButtonDesign& b : buttons())
        ids.insert(ids.end(), {b.normalId, b.hoverId, b.pressedId});
    ids.insert(ids.end(), {IDB_BACKGROUND, IDB_PANEL});
    return ids;
}

int imageId(const ButtonDesign& button, ButtonState state)
{
    switch (state) {
    case ButtonState::Hover: return button.hoverId;
    case ButtonState::Pressed: return button.pressedId;
    case ButtonState::Normal: break;
    }
    return button.normalId;
}

QSize imageSize(const ButtonDesign& button, ButtonState state)
{
    return state == ButtonState::Pressed ? button.pressedSize : button.imageSize;
}

const std::vector<LabelSpot>& labels()
{
    static const std::vector<LabelSpot> all{
        {"Profile Setting", {30, 432, 100, 20}}, {"Output Folder:", {34, 474, 100, 20}},
        {"Stretch Mode", {510, 365, 72, 17}},    {"Size:", {555, 403, 30, 17}},
        {"Bitrate:", {538, 483, 50, 17}},
    };
    return all;
}

const std::vector<LabelSpot>& combos()
{
    static const std::vector<LabelSpot> all{
        {"WMV-Windows Media Format               (*.wmv)", {140, 430, 300, 20}},
        {"Stretched to fit", {590, 361, 120, 17}},
        {"320X240", {590, 400, 120, 17}},
        {"Mono 28.8kbps", {590, 480, 120, 17}},
    };
    return all;
}

const std::vector<LabelSpot>& headings()
{
    static const std::vector<LabelSpot> all{{"Video:", videoHeading}, {"Audio:", audioHeading}};
    return all;
}

} // namespace SkinLayout
