#include "CliChoices.h"

#include "engine/OutputFormats.h"
#include "res/DialogTemplates.h"
#include "res/resource.h"

#include <QRegularExpression>

namespace {
ChoiceList ComboChoices(int comboId, bool numbered)
{
    ChoiceList list;
    list.numbered = numbered;
    for (const ComboItems& combo : ConverterComboItems()) {
        if (combo.id != comboId)
            continue;
        for (const char* item : combo.items)
            list.names << ChoiceName(QString::fromUtf8(item));
    }
    return list;
}

bool IsListPosition(const QString& value, int count, int* position)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!digits.match(value).hasMatch())
        return false;
    *position = value.toInt();
    return *position < count;
}
} // namespace

QString ChoiceName(const QString& item)
{
    return item.simplified().toLower().replace(QLatin1Char(' '), QLatin1Char('-'));
}

const ChoiceList& FormatChoices()
{
    static const ChoiceList list = [] {
        ChoiceList formats;
        for (const OutputContainer& format : outputContainers())
            formats.names << QString::fromLatin1(format.extension).mid(1);
        return formats;
    }();
    return list;
}

const ChoiceList& FrameSizeChoices()
{
    static const ChoiceList list = ComboChoices(IDC_FRAMESIZE, false);
    return list;
}

const ChoiceList& StretchChoices()
{
    static const ChoiceList list = ComboChoices(IDC_STRETCHMODE, true);
    return list;
}

const ChoiceList& AudioBitrateChoices()
{
    static const ChoiceList list = ComboChoices(IDC_AUDIOBITRATE, true);
    return list;
}

int FindChoice(const ChoiceList& list, const QString& value)
{
    int position = -1;
    if (list.numbered && IsListPosition(value, int(list.names.size()), &position))
        return position;
    return int(list.names.indexOf(ChoiceName(value)));
}

QStringList ChoiceItems(const ChoiceList& list)
{
    QStringList items;
    for (int i = 0; i < list.names.size(); ++i) {
        const QString item =
            list.numbered ? QStringLiteral("%1 %2").arg(i).arg(list.names[i]) : list.names[i];
        items << (i == 0 ? item + QStringLiteral(" (default)") : item);
    }
    return items;
}
