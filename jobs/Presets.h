// Named settings to choose again: the four lists, the quality and, when asked, the
// output folder. Five come with the program and cannot be changed; the user's are one
// JSON file each in PresetFolder().
#pragma once

#include "ConverterOptions.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

struct Preset
{
    QString name;
    OutputChoices choices;
    VideoQuality quality;
    QString outputFolder; // empty: choosing the preset leaves the folder as it is
    bool builtIn = false;
};

// What became of a change to the presets; error says why nothing was changed.
struct PresetResult
{
    std::optional<Preset> preset;
    QString error;
};

const QList<Preset>& BuiltInPresets();

// The file's text, with a "version" field.
QByteArray PresetToJson(const Preset& preset);
// The preset a file holds; an unknown version, a missing field or one out of range is
// refused with an error that names it.
PresetResult PresetFromJson(const QByteArray& json);

// The built-in presets, then the saved ones by name; a file that is refused is left out.
QList<Preset> AllPresets();
// By name, built-in or saved.
std::optional<Preset> FindPreset(const QString& name);

// Writes the preset under its name, replacing a saved one of that name; a built-in
// name is refused.
PresetResult SavePreset(const Preset& preset);
PresetResult RenamePreset(const QString& oldName, const QString& newName);
QString DeletePreset(const QString& name); // the error, empty when it went
// Reads a preset file from anywhere and saves it; refused as PresetFromJson refuses.
PresetResult ImportPreset(const QString& path);
QString ExportPreset(const Preset& preset, const QString& path); // the error, or empty
