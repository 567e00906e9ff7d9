// The popup menus as data. A command of 0 is a separator.
#pragma once

#include <vector>

struct MenuItemData
{
    int command = 0;
    const char* text = "";
};

struct MenuResource
{
    int id = 0;
    const char* popupTitle = ""; // title of sub-menu 0, never shown
    std::vector<MenuItemData> items;
};

const MenuResource* FindMenuResource(int id);
