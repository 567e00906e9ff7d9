#include "StringTable.h"

#include "resource.h"

QString LoadResourceString(int id)
{
    switch (id) {
    case IDS_ABOUTBOX: return QStringLiteral("&About DirarAror...");
    default: return QString();
    }
}

const std::vector<ControlName>& ConverterControlNames()
{
    static const std::vector<ControlName> names{
        {IDC_FILEMENU, IDB_FILEMENU_NORMAL, "File menu"},
        {IDC_EDITMENU, IDB_EDITMENU_NORMAL, "Edit menu"},
        {IDC_HELPMENU, IDB_HELPMENU_NORMAL, "Help menu"},
        {IDC_HELP, IDB_HELP_NORMAL, "Help"},
        {IDC_MINIMIZE, IDB_MINIMIZE_NORMAL, "Minimize"},
        {IDC_CLOSE, IDB_CLOSE_NORMAL, "Close"},
        {IDC_ADDFILES, IDB_ADDFILES_NORMAL, "Add video files"},
        {IDC_STOPCONVERT, IDB_STOPCONVERT_NORMAL, "Stop converting"},
        {IDC_CONVERT, IDB_CONVERT_NORMAL, "Convert checked files"},
        {IDC_LISTMENU, IDB_LISTMENU_NORMAL, "List menu"},
        {IDC_HOMEPAGE, IDB_HOMEPAGE_NORMAL, "Home page"},
        {IDC_SELECTFOLDER, IDB_SELECTFOLDER_NORMAL, "Choose output folder"},
        {IDC_EXPLORE, IDB_EXPLORE_NORMAL, "Open output folder"},
        {IDC_PREVCLIP, IDB_PREV_NORMAL, "Previous clip"},
        {IDC_BACK10, IDB_BACK10_NORMAL, "Back 10 seconds"},
        {IDC_PLAY, IDB_PLAY_NORMAL, "Play"},
        {IDC_PLAY, IDB_PAUSE_NORMAL, "Pause"},
        {IDC_STOPPREVIEW, IDB_STOP_NORMAL, "Stop preview"},
        {IDC_FORWARD10, IDB_FWD10_NORMAL, "Forward 10 seconds"},
        {IDC_NEXTCLIP, IDB_NEXT_NORMAL, "Next clip"},
        {IDC_JOBLIST, 0, "Job list"},
        {IDC_ENGINE, 0, "Preview"},
        {IDC_OUTPUTPROFILE, 0, "Profile Setting"},
        {IDC_OUTPUTFOLDER, 0, "Output Folder"},
        {IDC_STRETCHMODE, 0, "Stretch Mode"},
        {IDC_FRAMESIZE, 0, "Size"},
        {IDC_AUDIOBITRATE, 0, "Bitrate"},
    };
    return names;
}

QString ImageButtonName(unsigned normalImage)
{
    for (const ControlName& control : ConverterControlNames()) {
        if (normalImage != 0 && control.normalImage == normalImage)
            return QString::fromUtf8(control.name);
    }
    return QString();
}
