// Where the program's read-only data (Profiles/, help.htm) lives: beside the program
// in a build folder or a portable copy, in ../share/virav-velmora-converter/ once
// installed the way Linux packages lay files out.
#pragma once

#include <QString>

// The first of those two folders that holds a Profiles folder; the program's own
// folder when neither does.
QString DataFolder(const QString& programFolder);
