#include "CliOptions.h"

#include "CliChoices.h"
#include "jobs/JobOutput.h"
#include "jobs/Presets.h"

#include <QRegularExpression>

#include <vector>

namespace {

// Options that only some formats use; given with another format they would change nothing.
enum class Applies
{
    AnyFormat,
    VideoFormats,
    SoundOnlyFormats,
};

using Setter = QString (*)(CliOptions* options, const QString& value); // why value is refused; empty if taken

// One option. A value of a list goes into choiceField; any other value, or a switch, to set.
struct OptionRow
{
    const char* name;
    const char* alias;     // a short spelling, or null
    const char* valueName; // null for a switch
    const char* summary;
    Applies applies;
    const ChoiceList& (*choices)();
    int CliOptions::*choiceField;
    Setter set;
};

// Seconds as a number with a point and nothing else; the run reads them as the window does.
template <QString CliOptions::*Cell> QString SetSeconds(CliOptions* options, const QString& value)
{
    static const QRegularExpression decimal(QStringLiteral("^([0-9]{1,12}(\\.[0-9]*)?|\\.[0-9]+)$"));
    if (!decimal.match(value).hasMatch())
        return QStringLiteral("not a number of seconds");
    options->*Cell = value;
    return QString();
}

template <bool CliOptions::*Switch> QString SetSwitch(CliOptions* options, const QString&)
{
    options->*Switch = true;
    return QString();
}

// A folder or a pattern: any text but none.
template <QString CliOptions::*Text> QString SetText(CliOptions* options, const QString& value)
{
    if (value.isEmpty())
        return QStringLiteral("nothing given");
    options->*Text = value;
    return QString();
}

// Lower-case names, each at its position.
int IndexOfName(const QStringList& names, const QString& value)
{
    return int(names.indexOf(value.trimmed().toLower()));
}

QString SetQuality(CliOptions* options, const QString& value)
{
    static const QStringList names{"profile", "best", "high", "good", "small"}; // the levels from Best
    const int index = IndexOfName(names, value);
    if (index < 0)
        return QStringLiteral("not one of ") + names.join(QStringLiteral(", "));
    options->quality =
        index == 0 ? VideoQuality{} : *videoQualityFor(long(QualityMode::ConstantQuality), index - 1);
    return QString();
}

QString SetTargetSize(CliOptions* options, const QString& value)
{
    bool ok = false;
    const std::optional<VideoQuality> quality =
        videoQualityFor(long(QualityMode::TargetSize), value.toDouble(&ok));
    if (!ok || !quality)
        return QStringLiteral("not a size in MB from %1 to %2")
            .arg(kMinTargetMegabytes)
            .arg(kMaxTargetMegabytes);
    options->quality = *quality;
    return QString();
}

QString SetIfExists(CliOptions* options, const QString& value)
{
    static const QStringList names{"replace", "number", "skip"}; // in the order of IfOutputExists
    const int index = IndexOfName(names, value);
    if (index < 0)
        return QStringLiteral("not one of ") + names.join(QStringLiteral(", "));
    options->ifExists = IfOutputExists(index);
    return QString();
}

// The preset's lists, quality and folder, as choosing it in the window sets them; later
// options change them again.
QString SetPreset(CliOptions* options, const QString& value)
{
    const std::optional<Preset> preset = FindPreset(value);
    if (!preset) {
        QStringList names;
        for (const Preset& known : AllPresets())
            names << QLatin1Char('"') + known.name + QLatin1Char('"');
        return QStringLiteral("no such preset; there are ") + names.join(QStringLiteral(", "));
    }
    options->formatIndex = preset->choices.formatIndex;
    options->frameSizeIndex = preset->choices.frameSizeIndex;
    options->stretchMode = preset->choices.stretchMode;
    options->audioBitrateIndex = preset->choices.bitrateIndex;
    options->quality = preset->quality;
    if (!preset->outputFolder.isEmpty())
        options->outputFolder = preset->outputFolder;
    return QString();
}

const std::vector<OptionRow>& Options()
{
    using O = CliOptions;
    static const std::vector<OptionRow> rows{
        {"--format", nullptr, "FORMAT", "the output type:", Applies::AnyFormat, &FormatChoices,
         &O::formatIndex, nullptr},
        {"--size", nullptr, "SIZE", "the frame size of a video format:", Applies::VideoFormats,
         &FrameSizeChoices, &O::frameSizeIndex, nullptr},
        {"--stretch", nullptr, "N|NAME", "how the picture fills the frame, for a video format:",
         Applies::VideoFormats, &StretchChoices, &O::stretchMode, nullptr},
        {"--audio-bitrate", nullptr, "N|NAME", "the sound of a sound-only format:", Applies::SoundOnlyFormats,
         &AudioBitrateChoices, &O::audioBitrateIndex, nullptr},
        {"--start", nullptr, "S",
         "start S seconds into each file, in whole seconds as the window takes it "
         "(default 0)",
         Applies::AnyFormat, nullptr, nullptr, &SetSeconds<&O::startText>},
        {"--end", nullptr, "S", "end S seconds into each file (default: its end)", Applies::AnyFormat,
         nullptr, nullptr, &SetSeconds<&O::endText>},
        {"--output-dir", nullptr, "DIR", "write into DIR (default: the window's output folder, now {folder})",
         Applies::AnyFormat, nullptr, nullptr, &SetText<&CliOptions::outputFolder>},
        {"--quality", nullptr, "LEVEL",
         "the picture's quality, for a video format: profile (default: the --size profile's bit rate), or a "
         "constant quality of best, high, good or small",
         Applies::VideoFormats, nullptr, nullptr, &SetQuality},
        {"--target-size", nullptr, "MB", "make each video file MB megabytes (1,000,000 bytes), in two passes",
         Applies::VideoFormats, nullptr, nullptr, &SetTargetSize},
        {"--name", nullptr, "PATTERN",
         "the output name before its extension (default {title}, the file's name up to its last dot); also "
         "{source}, {format}, {size}, {date} (yyyy-MM-dd) and {n} (the file's number)",
         Applies::AnyFormat, nullptr, nullptr, &SetText<&CliOptions::namePattern>},
        {"--if-exists", nullptr, "RULE",
         "when the output exists: replace it (default), number (\"name (2).ext\") or skip the file",
         Applies::AnyFormat, nullptr, nullptr, &SetIfExists},
        {"--preset", nullptr, "NAME",
         "the format, size, stretch, bit rate, quality and folder of a preset of the window (built-in or "
         "saved); "
         "options after it change them",
         Applies::AnyFormat, nullptr, nullptr, &SetPreset},
        {"--json", nullptr, nullptr, "one JSON object per line for each event, on standard output",
         Applies::AnyFormat, nullptr, nullptr, &SetSwitch<&O::json>},
        {"--quiet", "-q", nullptr, "print errors only", Applies::AnyFormat, nullptr, nullptr,
         &SetSwitch<&O::quiet>},
        {"--help", "-h", nullptr, "show this help and exit", Applies::AnyFormat, nullptr, nullptr,
         &SetSwitch<&O::help>},
        {"--version", nullptr, nullptr, "show the version and exit", Applies::AnyFormat, nullptr, nullptr,
         &SetSwitch<&O::version>},
    };
    return rows;
}

const OptionRow* FindOption(const QString& name)
{
    for (const OptionRow& row : Options()) {
        if (name == QLatin1String(row.name) || (row.alias && name == QLatin1String(row.alias)))
            return &row;
    }
    return nullptr;
}

QString Apply(const OptionRow& row, CliOptions* options, const QString& value)
{
    if (!row.choices)
        return row.set(options, value);
    const int index = FindChoice(row.choices(), value);
    if (index < 0)
        return QStringLiteral("not one of %1").arg(row.choices().names.join(QStringLiteral(", ")));
    options->*row.choiceField = index;
    return QString();
}

QString FormatNamesOfKind(bool video)
{
    QStringList names;
    for (int i = 0; i < FormatChoices().names.size(); ++i) {
        if (IsVideoFormat(JobFormatForIndex(i)) == video)
            names << FormatChoices().names[i];
    }
    return names.join(QStringLiteral(", "));
}

// Why an option given does nothing with the chosen format; empty when it does something.
QString MismatchWithFormat(const OptionRow& row, const CliOptions& options)
{
    const bool video = IsVideoFormat(JobFormatForIndex(options.formatIndex));
    const QString format = FormatChoices().names.value(options.formatIndex);
    if (row.applies == Applies::VideoFormats && !video)
        return QStringLiteral("%1 writes sound only; %2 is for %3")
            .arg(format, row.name, FormatNamesOfKind(true));
    if (row.applies == Applies::SoundOnlyFormats && video)
        return QStringLiteral("%1 takes its sound from the --size profile; %2 is for %3")
            .arg(format, row.name, FormatNamesOfKind(false));
    return QString();
}

struct GivenOption
{
    const OptionRow* row;
    QString value;
};

QString OptionError(const QString& name, const QString& value, const QString& why)
{
    return QStringLiteral("%1 '%2': %3").arg(name, value, why);
}

// Reads the option at arguments[*at], and its value; moves *at past what it used.
QString ReadOption(const QStringList& arguments, int* at, CliOptions* options,
                   std::vector<GivenOption>* given)
{
    const QString argument = arguments[*at];
    const int equals =
        argument.startsWith(QLatin1String("--")) ? int(argument.indexOf(QLatin1Char('='))) : -1;
    const QString name = equals < 0 ? argument : argument.left(equals);
    const OptionRow* row = FindOption(name);
    if (!row)
        return QStringLiteral("unknown option '%1'").arg(name);
    QString value;
    if (row->valueName && equals >= 0) {
        value = argument.mid(equals + 1);
    } else if (row->valueName) {
        if (*at + 1 >= arguments.size())
            return QStringLiteral("%1 needs a value (%2)").arg(name, QLatin1String(row->valueName));
        value = arguments[++*at];
    } else if (equals >= 0) {
        return OptionError(name, argument.mid(equals + 1), QStringLiteral("takes no value"));
    }
    const QString refused = Apply(*row, options, value);
    if (!refused.isEmpty())
        return OptionError(name, value, refused);
    given->push_back({row, value});
    return QString();
}

QString CheckRun(const CliOptions& options, const std::vector<GivenOption>& given)
{
    for (const GivenOption& option : given) {
        const QString mismatch = MismatchWithFormat(*option.row, options);
        if (!mismatch.isEmpty())
            return OptionError(QLatin1String(option.row->name), option.value, mismatch);
    }
    if (options.files.isEmpty())
        return QStringLiteral("no FILE to convert");
    return QString();
}

// The pieces, a space between each two, in lines of at most width characters, each
// after indent spaces; no piece is broken.
QString Wrapped(const QStringList& pieces, int indent, int width)
{
    QString wrapped;
    QString line;
    for (const QString& piece : pieces) {
        if (!line.isEmpty() && line.size() + 1 + piece.size() > width) {
            wrapped += line + QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + piece;
    }
    return wrapped + line;
}

// The summary's words, then the list's items, each but the last with its comma.
QStringList HelpPieces(const OptionRow& row, const QString& defaultFolder)
{
    QString summary = QString::fromUtf8(row.summary);
    QStringList pieces = summary.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    pieces.replaceInStrings(QStringLiteral("{folder}"), defaultFolder);
    if (!row.choices)
        return pieces;
    const QStringList items = ChoiceItems(row.choices());
    for (int i = 0; i < items.size(); ++i)
        pieces << (i + 1 < items.size() ? items[i] + QLatin1Char(',') : items[i]);
    return pieces;
}

QString OptionHelp(const OptionRow& row, const QString& defaultFolder)
{
    constexpr int kSummaryColumn = 26;
    constexpr int kLineWidth = 79;
    QString names =
        row.alias ? QStringLiteral("%1, %2").arg(row.alias, row.name) : QString::fromLatin1(row.name);
    if (row.valueName)
        names += QLatin1Char(' ') + QLatin1String(row.valueName);
    QString head = QStringLiteral("  %1 ").arg(names);
    head = head.size() > kSummaryColumn ? head + QLatin1Char('\n') + QString(kSummaryColumn, QLatin1Char(' '))
                                        : head.leftJustified(kSummaryColumn);
    return head + Wrapped(HelpPieces(row, defaultFolder), kSummaryColumn, kLineWidth - kSummaryColumn) +
           QLatin1Char('\n');
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine parsed;
    std::vector<GivenOption> given;
    bool optionsEnded = false;
    for (int at = 0; at < arguments.size() && parsed.error.isEmpty(); ++at) {
        const QString& argument = arguments[at];
        if (!optionsEnded && argument == QLatin1String("--"))
            optionsEnded = true;
        else if (optionsEnded || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-"))
            parsed.options.files << argument;
        else
            parsed.error = ReadOption(arguments, &at, &parsed.options, &given);
    }
    if (parsed.error.isEmpty() && !parsed.options.help && !parsed.options.version)
        parsed.error = CheckRun(parsed.options, given);
    return parsed;
}

QString UsageText(const QString& defaultFolder)
{
    QString text =
        QStringLiteral("Usage: vv-convert [OPTION]... FILE...\n"
                       "Converts each FILE in turn, as the window's Convert does, into one file in the\n"
                       "output folder, named after FILE with the format's extension.\n\n"
                       "Options:\n");
    for (const OptionRow& row : Options())
        text += OptionHelp(row, defaultFolder);
    text += QStringLiteral("\nA list value is its name or, where numbers are shown, its number.\n"
                           "Exit status: 0 when every file was written; 1 when any failed (each reason on\n"
                           "standard error); 2 for bad usage; 130 when interrupted (nothing half-written is\n"
                           "left).\n");
    return text;
}
