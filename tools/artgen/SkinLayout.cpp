#include "SkinLayout.h"

#include "res/DialogTemplates.h"
#include "res/resource.h"

#include <algorithm>

namespace SkinLayout {

namespace {

// Play shows these while a clip plays; they have no control of their own.
constexpr ButtonImages pauseImages{IDC_PLAY, IDB_PAUSE_NORMAL, IDB_PAUSE_PRESSED, IDB_PAUSE_HOVER};

template <typename Row> const Row& byId(const std::vector<Row>& rows, int id)
{
    const auto it = std::find_if(rows.begin(), rows.end(), [id](const Row& row) { return row.id == id; });
    if (it == rows.end())
        qFatal("artgen: the resource tables have no control %d", id);
    return *it;
}

// An empty image size means the bitmap exactly covers the button's rectangle.
ButtonDesign make(int controlId, ButtonFace face, Glyph glyph, QSize image = QSize(), QSize pressed = QSize())
{
    const ButtonImages ids = glyph == Glyph::Pause ? pauseImages : byId(ConverterButtonImages(), controlId);
    const QRect layout = controlRect(controlId);
    if (image.isEmpty())
        image = layout.size();
    if (pressed.isEmpty())
        pressed = image;
    const auto id = [](unsigned bitmap) { return static_cast<int>(bitmap); };
    return ButtonDesign{id(ids.normal), id(ids.hover), id(ids.pressed), layout, image, pressed, face, glyph};
}

std::vector<ButtonDesign> makeButtons()
{
    const QSize tile(52, 54);
    const QSize caption(20, 16);
    return {
        make(IDC_FILEMENU, ButtonFace::Menu, Glyph::MenuFile, QSize(), QSize(41, 20)),
        make(IDC_EDITMENU, ButtonFace::Menu, Glyph::MenuEdit),
        make(IDC_HELPMENU, ButtonFace::Menu, Glyph::MenuHelp),
        make(IDC_HELP, ButtonFace::Caption, Glyph::Help, caption),
        make(IDC_MINIMIZE, ButtonFace::Caption, Glyph::Minimize, caption),
        make(IDC_CLOSE, ButtonFace::Caption, Glyph::Close, caption),
        make(IDC_ADDFILES, ButtonFace::Tile, Glyph::AddFiles, tile),
        make(IDC_STOPCONVERT, ButtonFace::Tile, Glyph::StopConvert, tile),
        make(IDC_CONVERT, ButtonFace::Tile, Glyph::Convert, tile),
        make(IDC_LISTMENU, ButtonFace::Tile, Glyph::ListMenu, tile),
        make(IDC_HOMEPAGE, ButtonFace::Tile, Glyph::HomePage, tile),
        make(IDC_PREVCLIP, ButtonFace::Transport, Glyph::PrevClip),
        make(IDC_BACK10, ButtonFace::Transport, Glyph::Back10),
        make(IDC_PLAY, ButtonFace::Transport, Glyph::Play),
        make(IDC_PLAY, ButtonFace::Transport, Glyph::Pause),
        make(IDC_STOPPREVIEW, ButtonFace::Transport, Glyph::StopPreview),
        make(IDC_FORWARD10, ButtonFace::Transport, Glyph::Forward10),
        make(IDC_NEXTCLIP, ButtonFace::Transport, Glyph::NextClip),
        make(IDC_SELECTFOLDER, ButtonFace::Pill, Glyph::SelectFolder, QSize(60, 21)),
        make(IDC_EXPLORE, ButtonFace::Pill, Glyph::Explore, QSize(55, 21)),
    };
}

QString templateText(int controlId)
{
    return QString::fromLatin1(byId(ConverterDialogTemplate().controls, controlId).text);
}

LabelSpot label(int controlId)
{
    return LabelSpot{templateText(controlId), controlRect(controlId)};
}

LabelSpot combo(int controlId)
{
    return LabelSpot{QString::fromLatin1(byId(ConverterComboItems(), controlId).items.front()),
                     controlRect(controlId)};
}

} // namespace

QRect controlRect(int controlId)
{
    return byId(MainWindowLayout(), controlId).rect;
}

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
        label(IDC_PROFILE_LABEL), label(IDC_FOLDER_LABEL),  label(IDC_STRETCH_LABEL),
        label(IDC_SIZE_LABEL),    label(IDC_BITRATE_LABEL),
    };
    return all;
}

const std::vector<LabelSpot>& combos()
{
    static const std::vector<LabelSpot> all{
        combo(IDC_OUTPUTPROFILE),
        combo(IDC_STRETCHMODE),
        combo(IDC_FRAMESIZE),
        combo(IDC_AUDIOBITRATE),
    };
    return all;
}

const std::vector<LabelSpot>& headings()
{
    static const std::vector<LabelSpot> all = [] {
        std::vector<LabelSpot> spots;
        for (const LayoutEntry& entry : SectionLabelRects())
            spots.push_back(LabelSpot{templateText(entry.id), entry.rect});
        return spots;
    }();
    return all;
}

} // namespace SkinLayout
