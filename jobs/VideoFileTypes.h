// Which files the program takes in: the Add dialog's filter is the one list, and
// drops and the desktop entry follow what it offers.
#pragma once

#include <QString>
#include <QStringList>

// The Add dialog's filter, "Text|patterns|...||".
QString VideoFileFilter();

// The extensions of the filter's first entry, lower case, without "*.".
QStringList SupportedVideoExtensions();

// True when the path ends in one of those extensions, in any case.
bool IsSupportedVideoFile(const QString& path);
