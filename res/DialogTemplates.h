// Dialog templates, combo box items and the main window's pixel layout, as data.
// Rectangles of templates are in dialog units; the layout is in client pixels.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

enum class ControlClass
{
    Button = 1,
    Static,
    Edit,
    GroupBox,
    Icon,
    ComboBox,
    ListView,
    Progress,
    EngineControl,
};

// Window styles kept from the templates (the bits that change behaviour or look).
namespace dlgstyle {
constexpr unsigned kTabStop = 0x00010000;   // WS_TABSTOP
constexpr unsigned kGroup = 0x00020000;     // WS_GROUP
constexpr unsigned kVScroll = 0x00200000;   // WS_VSCROLL
constexpr unsigned kBorder = 0x00800000;    // WS_BORDER
constexpr unsigned kDefPushButton = 0x0001; // BS_DEFPUSHBUTTON
constexpr unsigned kFlat = 0x8000;          // BS_FLAT
constexpr unsigned kCenter = 0x0001;        // SS_CENTER
constexpr unsigned kRight = 0x0002;         // SS_RIGHT
constexpr unsigned kCenterImage = 0x0200;   // SS_CENTERIMAGE
constexpr unsigned kDropDownList = 0x0003;  // CBS_DROPDOWNLIST
constexpr unsigned kReport = 0x0001;        // LVS_REPORT
constexpr unsigned kAutoHScroll = 0x0080;   // ES_AUTOHSCROLL
} // namespace dlgstyle

constexpr int kNoControlId = -1; // IDC_STATIC

struct DialogControl
{
    int id = kNoControlId;
    ControlClass cls = ControlClass::Static;
    const char* text = "";
    unsigned style = 0;
    QRect rectDlu;
};

struct DialogTemplate
{
    int id = 0;
    const char* caption = "";
    const char* fontFace = "";
    int fontPoints = 0;
    QSize sizeDlu;
    std::vector<DialogControl> controls;
};

struct ComboItems
{
    int id = 0;
    std::vector<const char*> items;
};

struct LayoutEntry
{
    int id = 0;
    QRect rect;
};

const DialogTemplate& ConverterDialogTemplate();  // 102
const DialogTemplate& VersionDialogTemplate();    // 100
const DialogTemplate& AboutDialogTemplate();      // 141
const DialogTemplate& TitleDialogTemplate();      // 144
const DialogTemplate& StartTimeDialogTemplate();  // 145
const DialogTemplate& EndTimeDialogTemplate();    // 146
const DialogTemplate& PresetNameDialogTemplate(); // 150

// Items of the four drop-down lists of dialog 102, in insertion order.
const std::vector<ComboItems>& ConverterComboItems();

// Client-pixel rectangles the main window imposes on its controls at every paint,
// in the order they are applied.
const std::vector<LayoutEntry>& MainWindowLayout();

// The main window's controls in the order Tab visits them, as they read on screen: the
// title bar left to right, then the left column and the right column top to bottom, each
// row left to right.
const std::vector<int>& ConverterTabOrder();

// Number of layout rows applied before the section labels get their font.
constexpr int kLayoutRowsBeforeLabelFont = 26;

// Controls the layout does not move are placed once, at setup. Their template
// rectangles would put the progress bar below the window's bottom edge and the
// section headings over the "Stretch Mode" and "Bitrate:" labels, so they get
// slots in the artwork instead.
QRect ProgressBarRect();
const std::vector<LayoutEntry>& SectionLabelRects(); // "Video:" and "Audio:"

// Dialog units to pixels for the given base units (MapDialogRect).
QRect DluToPixels(const QRect& dlu, const QSize& baseUnits);
QSize DluToPixels(const QSize& dlu, const QSize& baseUnits);

// Base units of dialog 102's font: 6 x 13 pixels at 96 dots per inch.
QSize ConverterDialogBaseUnits();

// The three images of each skinned button of dialog 102, in the order setup gives them.
struct ButtonImages
{
    int id = 0;
    unsigned normal = 0;
    unsigned pressed = 0;
    unsigned hover = 0;
};
const std::vector<ButtonImages>& ConverterButtonImages();
