// The one setting that outlives a run: the last output folder.
#pragma once

#include <QString>

// The stored folder exactly as stored, or DefaultOutputFolder() when nothing is stored.
QString ReadStoredOutputFolder();

// Stores the folder; returns false when the store cannot be written.
bool StoreOutputFolder(const QString& folder);

// "c:\" on Windows; elsewhere the user's Videos folder (home when there is none),
// with a trailing separator.
QString DefaultOutputFolder();

// The folder with the platform's separator at its end (an empty folder gets one too).
QString WithTrailingSeparator(const QString& folder);
