#include "DialogTemplates.h"

#include "StringTable.h"
#include "engine/OutputFormats.h"
#include "res/Version.h"
#include "resource.h"

using namespace dlgstyle;

namespace {
constexpr unsigned kPush = kTabStop;
constexpr unsigned kLabel = kGroup;
constexpr unsigned kCombo = kVScroll | kTabStop | kDropDownList;

DialogControl Ctl(int id, ControlClass cls, const char* text, unsigned style, int x, int y, int w, int h)
{
    return DialogControl{id, cls, text, style, QRect(x, y, w, h)};
}

// The three text-entry dialogs share one shape; only texts and rectangles differ.
DialogTemplate TextEntryTemplate(int id, const char* caption, const char* groupText, QSize size, QRect ok,
                                 QRect cancel, QRect group, QRect edit)
{
    return DialogTemplate{
        id,
        caption,
        "Arial",
        8,
        size,
        {
            DialogControl{IDOK, ControlClass::Button, "OK", kPush | kDefPushButton, ok},
            DialogControl{IDCANCEL, ControlClass::Button, "Cancel", kPush, cancel},
            DialogControl{kNoControlId, ControlClass::GroupBox, groupText, 0, group},
            DialogControl{IDC_EDIT_TEXT, ControlClass::Edit, "", kBorder | kTabStop | kAutoHScroll, edit},
        }};
}

std::vector<const char*> FormatListItems()
{
    std::vector<const char*> items;
    for (const OutputContainer& format : outputContainers())
        items.push_back(format.listText);
    return items;
}
} // namespace

const DialogTemplate& ConverterDialogTemplate()
{
    using C = ControlClass;
    static const DialogTemplate tpl{
        IDD_CONVERTER_DIALOG,
        "",
        "MS Sans Serif",
        8,
        QSize(518, 385),
        {
            Ctl(IDC_ADDFILES, C::Button, "", kPush, 20, 227, 24, 25),
            Ctl(IDC_PLAY, C::Button, "", kPush, 385, 159, 21, 16),
            Ctl(IDC_STOPPREVIEW, C::Button, "", kPush, 406, 159, 27, 16),
            Ctl(IDC_SIZE_LABEL, C::Static, "Size:", kLabel, 378, 268, 20, 11),
            Ctl(IDC_ENGINE, C::EngineControl, "", kTabStop, 332, 40, 151, 113),
            Ctl(IDC_PICTURE, C::Static, "Static", kLabel, 83, 71, 141, 97),
            Ctl(IDC_MINIMIZE, C::Button, "", kPush, 454, 2, 23, 15),
            Ctl(IDC_CLOSE, C::Button, "", kPush, 479, 3, 21, 15),
            Ctl(IDC_JOBLIST, C::ListView, "List1", kBorder | kTabStop | kReport, 14, 42, 302, 171),
            Ctl(IDC_CONVERT, C::Button, "", kPush, 113, 225, 30, 29),
            Ctl(IDC_SELECTFOLDER, C::Button, "", kPush, 229, 312, 22, 16),
            Ctl(IDC_PROGRESS, C::Progress, "Progress1", kBorder, 14, 346, 307, 6),
            Ctl(IDC_NEXTCLIP, C::Button, "", kPush, 453, 160, 20, 16),
            Ctl(IDC_PREVCLIP, C::Button, "", kPush, 347, 159, 20, 16),
            Ctl(IDC_BACK10, C::Button, "", kPush, 367, 160, 18, 16),
            Ctl(IDC_FORWARD10, C::Button, "", kPush, 434, 160, 18, 16),
            Ctl(IDC_FRAMESIZE, C::ComboBox, "", kCombo, 404, 266, 85, 52),
            Ctl(IDC_STRETCH_LABEL, C::Static, "Stretch Mode", kLabel, 333, 243, 50, 11),
            Ctl(IDC_STRETCHMODE, C::ComboBox, "", kCombo, 396, 240, 87, 50),
            Ctl(IDC_AUDIOBITRATE, C::ComboBox, "", kCombo, 390, 327, 94, 66),
            Ctl(IDC_PROFILE_LABEL, C::Static, "Profile Setting", kLabel, 30, 287, 63, 9),
            Ctl(IDC_OUTPUTPROFILE, C::ComboBox, "", kCombo, 102, 284, 180, 67),
            Ctl(IDC_HELP, C::Button, "", kPush, 430, 2, 21, 16),
            Ctl(IDC_FILEMENU, C::Button, "", kPush, 36, 8, 23, 12),
            Ctl(IDC_EDITMENU, C::Button, "", kPush, 67, 8, 24, 13),
            Ctl(IDC_HELPMENU, C::Button, "", kPush, 101, 9, 26, 14),
            Ctl(IDC_EXPLORE, C::Button, "", kPush, 260, 313, 31, 15),
            Ctl(IDC_OUTPUTFOLDER, C::Static, "111", kLabel, 118, 313, 102, 13),
            Ctl(IDC_BITRATE_LABEL, C::Static, "Bitrate:", kLabel, 333, 328, 32, 10),
            Ctl(IDC_VIDEO_LABEL, C::Static, "Video:", kLabel, 337, 214, 35, 16),
            Ctl(IDC_AUDIO_LABEL, C::Static, "Audio:", kLabel, 337, 293, 36, 14),
            Ctl(IDC_FOLDER_LABEL, C::Static, "Output Folder:", kLabel, 29, 313, 60, 9),
            Ctl(IDC_LISTMENU, C::Button, "", kPush, 167, 225, 33, 25),
            Ctl(IDC_HOMEPAGE, C::Button, "", kPush, 216, 224, 31, 28),
            Ctl(IDC_STOPCONVERT, C::Button, "", kPush, 64, 228, 33, 26),
        }};
    return tpl;
}

const DialogTemplate& VersionDialogTemplate()
{
    using C = ControlClass;
    static const DialogTemplate tpl{
        IDD_VERSION_DIALOG,
        "About Virav Velmora Video Converter",
        "MS Sans Serif",
        9,
        QSize(235, 77),
        {
            Ctl(kNoControlId, C::Icon, "", 0, 11, 17, 20, 20),
            Ctl(kNoControlId, C::Static, "Virav Velmora Video Converter", kLabel, 40, 10, 178, 8),
            Ctl(kNoControlId, C::Static, "Version " VV_VERSION, kLabel, 40, 32, 175, 8),
            Ctl(IDOK, C::Button, "OK", kPush | kDefPushButton | kGroup, 171, 56, 50, 14),
        }};
    return tpl;
}

const DialogTemplate& AboutDialogTemplate()
{
    using C = ControlClass;
    static const DialogTemplate tpl{
        IDD_ABOUTBOX,
        "About",
        "Arial",
        9,
        QSize(239, 122),
        {
            Ctl(IDOK, C::Button, "Ok", kPush | kFlat, 43, 96, 42, 14),
            Ctl(kNoControlId, C::Static, "Virav Velmora Video Converter  " VV_VERSION, 0, 47, 6, 105, 9),
            Ctl(IDC_SUPPORT_LINE, C::Static, "", 0, 13, 30, 215, 16),
            Ctl(kNoControlId, C::Static, "Home Page:", 0, 14, 79, 46, 10),
            Ctl(IDC_HOMEPAGE_LINK, C::Static, kHomePageCaption, 0, 63, 79, 107, 8),
            Ctl(IDC_MAIL_LINK, C::Static, kSupportMailAddress, 0, 15, 61, 105, 9),
            Ctl(kNoControlId, C::Icon, "", 0, 8, 2, 20, 17),
            Ctl(kNoControlId, C::GroupBox, "", 0, 7, 21, 225, 55),
            Ctl(IDC_ASSIST_LINE, C::Static, "We provide free technical assistance.", 0, 73, 49, 154, 9),
        }};
    return tpl;
}

const DialogTemplate& TitleDialogTemplate()
{
    static const DialogTemplate tpl = TextEntryTemplate(
        IDD_TITLE_DIALOG, "Rename", "Enter the output movie title here", QSize(227, 59),
        QRect(173, 15, 41, 12), QRect(174, 31, 42, 12), QRect(14, 12, 149, 32), QRect(22, 24, 133, 12));
    return tpl;
}

// The title dialog's shape, for a preset's name.
const DialogTemplate& PresetNameDialogTemplate()
{
    static const DialogTemplate tpl = TextEntryTemplate(
        IDD_PRESETNAME_DIALOG, "Preset Name", "Enter the preset's name here", QSize(227, 59),
        QRect(173, 15, 41, 12), QRect(174, 31, 42, 12), QRect(14, 12, 149, 32), QRect(22, 24, 133, 12));
    return tpl;
}

const DialogTemplate& StartTimeDialogTemplate()
{
    static const DialogTemplate tpl = TextEntryTemplate(
        IDD_STARTTIME_DIALOG, "Edit Start Time", "Enter start time here", QSize(225, 49),
        QRect(168, 7, 50, 14), QRect(168, 24, 50, 14), QRect(11, 9, 150, 27), QRect(20, 19, 130, 12));
    return tpl;
}

const DialogTemplate& EndTimeDialogTemplate()
{
    static const DialogTemplate tpl = TextEntryTemplate(
        IDD_ENDTIME_DIALOG, "Edit End Time", "Enter end time here", QSize(203, 41), QRect(146, 7, 48, 12),
        QRect(146, 22, 48, 12), QRect(7, 4, 133, 27), QRect(19, 15, 104, 11));
    return tpl;
}

const std::vector<ComboItems>& ConverterComboItems()
{
    static const std::vector<ComboItems> items{
        {IDC_FRAMESIZE,
         {"320X240", "High 320X240", "640X480", "High 640X480", "1280X720", "High 1280X720", "1920X1080",
          "High 1920X1080"}},
        {IDC_STRETCHMODE,
         {"Stretched to fit", "No Resize", "Resize Preserving the aspect ratio", "Resize crop"}},
        {IDC_AUDIOBITRATE,
         {"Mono 28.8kbps", "stereo 28.8kbps", "32kbps", "48kbps", "64kbps", "96kbps", "128kbps"}},
        {IDC_OUTPUTPROFILE, FormatListItems()},
    };
    return items;
}

const std::vector<LayoutEntry>& MainWindowLayout()
{
    static const std::vector<LayoutEntry> layout{
        {IDC_FILEMENU, QRect(30, 30, 40, 19)},        {IDC_EDITMENU, QRect(72, 31, 40, 19)},
        {IDC_HELPMENU, QRect(114, 30, 45, 19)},       {IDC_HELP, QRect(660, 5, 20, 15)},
        {IDC_MINIMIZE, QRect(680, 5, 20, 15)},        {IDC_CLOSE, QRect(700, 5, 20, 15)},
        {IDC_JOBLIST, QRect(21, 65, 451, 255)},       {IDC_PICTURE, QRect(21, 65, 452, 254)},
        {IDC_ENGINE, QRect(499, 60, 227, 170)},       {IDC_ADDFILES, QRect(50, 325, 50, 52)},
        {IDC_STOPCONVERT, QRect(130, 325, 50, 52)},   {IDC_CONVERT, QRect(220, 325, 50, 52)},
        {IDC_LISTMENU, QRect(300, 325, 50, 52)},      {IDC_HOMEPAGE, QRect(390, 325, 50, 52)},
        {IDC_PREVCLIP, QRect(500, 235, 41, 40)},      {IDC_BACK10, QRect(541, 235, 36, 40)},
        {IDC_PLAY, QRect(577, 235, 36, 40)},          {IDC_STOPPREVIEW, QRect(613, 235, 36, 40)},
        {IDC_FORWARD10, QRect(649, 235, 36, 40)},     {IDC_NEXTCLIP, QRect(685, 235, 40, 40)},
        {IDC_PROFILE_LABEL, QRect(30, 432, 100, 20)}, {IDC_OUTPUTPROFILE, QRect(140, 430, 300, 20)},
        {IDC_FOLDER_LABEL, QRect(34, 474, 100, 20)},  {IDC_SELECTFOLDER, QRect(324, 470, 60, 20)},
        {IDC_EXPLORE, QRect(387, 470, 55, 20)},       {IDC_OUTPUTFOLDER, QRect(142, 474, 170, 12)},
        {IDC_STRETCH_LABEL, QRect(510, 365, 72, 17)}, {IDC_STRETCHMODE, QRect(590, 361, 120, 17)},
        {IDC_SIZE_LABEL, QRect(555, 403, 30, 17)},    {IDC_FRAMESIZE, QRect(590, 400, 120, 17)},
        {IDC_BITRATE_LABEL, QRect(538, 483, 50, 17)}, {IDC_AUDIOBITRATE, QRect(590, 480, 120, 17)},
    };
    return layout;
}

const std::vector<int>& ConverterTabOrder()
{
    static const std::vector<int> order{
        IDC_FILEMENU,  IDC_EDITMENU, IDC_HELPMENU,      IDC_HELP,         IDC_MINIMIZE,
        IDC_CLOSE,     IDC_JOBLIST,  IDC_ADDFILES,      IDC_STOPCONVERT,  IDC_CONVERT,
        IDC_LISTMENU,  IDC_HOMEPAGE, IDC_OUTPUTPROFILE, IDC_SELECTFOLDER, IDC_EXPLORE,
        IDC_ENGINE,    IDC_PREVCLIP, IDC_BACK10,        IDC_PLAY,         IDC_STOPPREVIEW,
        IDC_FORWARD10, IDC_NEXTCLIP, IDC_STRETCHMODE,   IDC_FRAMESIZE,    IDC_AUDIOBITRATE,
    };
    return order;
}

QRect ProgressBarRect()
{
    return QRect(21, 392, 451, 10);
}

const std::vector<LayoutEntry>& SectionLabelRects()
{
    static const std::vector<LayoutEntry> rects{
        {IDC_VIDEO_LABEL, QRect(505, 336, 60, 22)},
        {IDC_AUDIO_LABEL, QRect(505, 446, 60, 22)},
    };
    return rects;
}

namespace {
// MulDiv rounding, as MapDialogRect does it.
int MulDivRound(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}
} // namespace

QRect DluToPixels(const QRect& dlu, const QSize& baseUnits)
{
    const int left = MulDivRound(dlu.x(), baseUnits.width(), 4);
    const int top = MulDivRound(dlu.y(), baseUnits.height(), 8);
    const int right = MulDivRound(dlu.x() + dlu.width(), baseUnits.width(), 4);
    const int bottom = MulDivRound(dlu.y() + dlu.height(), baseUnits.height(), 8);
    return QRect(left, top, right - left, bottom - top);
}

QSize DluToPixels(const QSize& dlu, const QSize& baseUnits)
{
    return QSize(MulDivRound(dlu.width(), baseUnits.width(), 4),
                 MulDivRound(dlu.height(), baseUnits.height(), 8));
}

QSize ConverterDialogBaseUnits()
{
    return QSize(6, 13);
}

const std::vector<ButtonImages>& ConverterButtonImages()
{
    static const std::vector<ButtonImages> images{
        {IDC_FILEMENU, IDB_FILEMENU_NORMAL, IDB_FILEMENU_PRESSED, IDB_FILEMENU_HOVER},
        {IDC_EDITMENU, IDB_EDITMENU_NORMAL, IDB_EDITMENU_PRESSED, IDB_EDITMENU_HOVER},
        {IDC_HELPMENU, IDB_HELPMENU_NORMAL, IDB_HELPMENU_PRESSED, IDB_HELPMENU_HOVER},
        {IDC_STOPPREVIEW, IDB_STOP_NORMAL, IDB_STOP_PRESSED, IDB_STOP_HOVER},
        {IDC_PLAY, IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_HOVER},
        {IDC_FORWARD10, IDB_FWD10_NORMAL, IDB_FWD10_PRESSED, IDB_FWD10_HOVER},
        {IDC_NEXTCLIP, IDB_NEXT_NORMAL, IDB_NEXT_PRESSED, IDB_NEXT_HOVER},
        {IDC_BACK10, IDB_BACK10_NORMAL, IDB_BACK10_PRESSED, IDB_BACK10_HOVER},
        {IDC_PREVCLIP, IDB_PREV_NORMAL, IDB_PREV_PRESSED, IDB_PREV_HOVER},
        {IDC_HELP, IDB_HELP_NORMAL, IDB_HELP_PRESSED, IDB_HELP_HOVER},
        {IDC_CLOSE, IDB_CLOSE_NORMAL, IDB_CLOSE_PRESSED, IDB_CLOSE_HOVER},
        {IDC_MINIMIZE, IDB_MINIMIZE_NORMAL, IDB_MINIMIZE_PRESSED, IDB_MINIMIZE_HOVER},
        {IDC_ADDFILES, IDB_ADDFILES_NORMAL, IDB_ADDFILES_PRESSED, IDB_ADDFILES_HOVER},
        {IDC_STOPCONVERT, IDB_STOPCONVERT_NORMAL, IDB_STOPCONVERT_PRESSED, IDB_STOPCONVERT_HOVER},
        {IDC_CONVERT, IDB_CONVERT_NORMAL, IDB_CONVERT_PRESSED, IDB_CONVERT_HOVER},
        {IDC_HOMEPAGE, IDB_HOMEPAGE_NORMAL, IDB_HOMEPAGE_PRESSED, IDB_HOMEPAGE_HOVER},
        {IDC_LISTMENU, IDB_LISTMENU_NORMAL, IDB_LISTMENU_PRESSED, IDB_LISTMENU_HOVER},
        {IDC_EXPLORE, IDB_EXPLORE_NORMAL, IDB_EXPLORE_PRESSED, IDB_EXPLORE_HOVER},
        {IDC_SELECTFOLDER, IDB_SELECTFOLDER_NORMAL, IDB_SELECTFOLDER_PRESSED, IDB_SELECTFOLDER_HOVER},
    };
    return images;
}
