#include "MenuTables.h"

#include "resource.h"

namespace {
const MenuItemData kSeparator{0, ""};

const std::vector<MenuResource>& AllMenus()
{
    static const std::vector<MenuResource> menus{
        {IDR_LISTMENU,
         "File",
         {{ID_LIST_RENAME, "Rename"},
          kSeparator,
          {ID_LIST_EDITSTART, "Edit Start Time"},
          {ID_LIST_EDITEND, "Edit End Time"},
          kSeparator,
          {ID_LIST_CHECKALL, "Check All"},
          {ID_LIST_UNCHECKALL, "Uncheck All"},
          kSeparator,
          {ID_LIST_REMOVE, "Remove"},
          {ID_LIST_CLEAR, "Clear"},
          kSeparator,
          {ID_LIST_SAVELIST, "Save List..."},
          {ID_LIST_OPENLIST, "Open List..."},
          kSeparator,
          {ID_LIST_PAUSE, "Pause Converting"},
          {ID_LIST_STOPAFTER, "Stop After This File"}}},
        {IDR_FILEMENU,
         "&File",
         {{ID_FILE_OPENVIDEO, "Open Video Files"},
          {ID_FILE_SELECTFOLDER, "Select Output Folder"},
          kSeparator,
          {ID_FILE_CONVERT, "Convert"},
          {ID_FILE_PLAY, "Play"},
          {ID_FILE_STOP, "Stop"},
          kSeparator,
          {ID_FILE_CLEAR, "Clear"},
          kSeparator,
          {ID_FILE_EXIT, "Exit"}}},
        {IDR_EDITMENU,
         "Edit",
         {{ID_EDIT_CHECKALL, "Check All"},
          {ID_EDIT_UNCHECKALL, "Uncheck All"},
          kSeparator,
          {ID_EDIT_CHECKSELECTED, "Check Selected"},
          {ID_EDIT_UNCHECKSELECTED, "Uncheck Selected"},
          kSeparator,
          {ID_EDIT_OPTIONS, "Options..."}}},
        {IDR_HELPMENU,
         "Help",
         {{ID_HELP_HELP, "Help"}, {ID_HELP_HOMEPAGE, "Homepage"}, kSeparator, {ID_HELP_ABOUT, "About"}}},
    };
    return menus;
}
} // namespace

const MenuResource* FindMenuResource(int id)
{
    for (const MenuResource& menu : AllMenus()) {
        if (menu.id == id)
            return &menu;
    }
    return nullptr;
}
