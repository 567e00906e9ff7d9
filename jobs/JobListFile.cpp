#include "JobListFile.h"

#include "JobRowText.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {
constexpr int kFormatVersion = 1;
constexpr int kMaxRows = 100000;
constexpr int kMaxTextChars = 4096; // a path's longest on Linux

const QString kTextKeys[] = {QStringLiteral("title"),  QStringLiteral("start"),  QStringLiteral("end"),
                             QStringLiteral("status"), QStringLiteral("source"), QStringLiteral("relative")};

QJsonObject RowToJson(const SavedJobRow& row, const QDir& listFolder)
{
    QJsonObject object{{QStringLiteral("title"), row.title},
                       {QStringLiteral("start"), row.start},
                       {QStringLiteral("end"), row.end},
                       {QStringLiteral("status"), row.status},
                       {QStringLiteral("checked"), row.checked},
                       {QStringLiteral("source"), row.source},
                       {QStringLiteral("relative"), listFolder.relativeFilePath(row.source)}};
    if (!row.tempOutput.isEmpty())
        object.insert(QStringLiteral("temp"), row.tempOutput);
    return object;
}

// Only a name the engine gives its temporary files may be removed on the list's word.
bool IsEngineTempFile(const QString& path)
{
    static const QRegularExpression name(QStringLiteral("^\\.vv-[0-9a-f]{8}\\.part$"));
    return QFileInfo(path).isAbsolute() && name.match(QFileInfo(path).fileName()).hasMatch();
}

std::optional<SavedJobRow> RowFromJson(const QJsonValue& value, QString* refusal)
{
    const QJsonObject object = value.toObject();
    for (const QString& key : kTextKeys) {
        if (!object.value(key).isString() || object.value(key).toString().size() > kMaxTextChars) {
            *refusal = QStringLiteral("a row's \"%1\" is missing or not a text of up to %2 characters")
                           .arg(key)
                           .arg(kMaxTextChars);
            return std::nullopt;
        }
    }
    if (!object.value(QStringLiteral("checked")).isBool()) {
        *refusal = QStringLiteral("a row's \"checked\" is not true or false");
        return std::nullopt;
    }
    const QJsonValue temp = object.value(QStringLiteral("temp"));
    if (!temp.isUndefined() && !IsEngineTempFile(temp.toString())) {
        *refusal = QStringLiteral("a row's \"temp\" is not a temporary file of this program");
        return std::nullopt;
    }
    const auto text = [&object](const char* key) { return object.value(QLatin1String(key)).toString(); };
    return SavedJobRow{text("title"),
                       text("start"),
                       text("end"),
                       text("status"),
                       object.value(QStringLiteral("checked")).toBool(),
                       text("source"),
                       text("relative"),
                       temp.toString()};
}
} // namespace

SavedJobList SnapshotRows(const IJobRows& rows, int writingRow, const QString& tempOutput)
{
    SavedJobList list;
    for (int row = 0; row < rows.RowCount(); ++row) {
        list.rows.append({rows.CellText(row, kTitleColumn), rows.CellText(row, kStartColumn),
                          rows.CellText(row, kEndColumn), rows.CellText(row, kStatusColumn),
                          rows.IsRowChecked(row), rows.CellText(row, kPathColumn), QString(),
                          row == writingRow ? tempOutput : QString()});
    }
    return list;
}

QByteArray JobListToJson(const SavedJobList& list, const QString& listFolder)
{
    const QDir folder(listFolder);
    QJsonArray rows;
    for (const SavedJobRow& row : list.rows)
        rows.append(RowToJson(row, folder));
    const QJsonObject root{{QStringLiteral("version"), kFormatVersion},
                           {QStringLiteral("finished"), list.finished},
                           {QStringLiteral("rows"), rows}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

std::optional<SavedJobList> JobListFromJson(const QByteArray& data, QString* refusal)
{
    if (data.size() > kMaxJobListBytes) {
        *refusal = QStringLiteral("the file is larger than %1 MB").arg(kMaxJobListBytes >> 20);
        return std::nullopt;
    }
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(data, &error).object();
    if (error.error != QJsonParseError::NoError || root.isEmpty()) {
        *refusal = QStringLiteral("it is not a job list (%1)").arg(error.errorString());
        return std::nullopt;
    }
    if (root.value(QStringLiteral("version")) != QJsonValue(kFormatVersion)) {
        *refusal = QStringLiteral("its version is not %1, the one this program reads").arg(kFormatVersion);
        return std::nullopt;
    }
    const QJsonArray rows = root.value(QStringLiteral("rows")).toArray();
    if (!root.value(QStringLiteral("rows")).isArray() || rows.size() > kMaxRows) {
        *refusal = QStringLiteral("\"rows\" is not a list of up to %1 rows").arg(kMaxRows);
        return std::nullopt;
    }
    SavedJobList list;
    list.finished = root.value(QStringLiteral("finished")).toBool();
    for (const QJsonValue& value : rows) {
        const std::optional<SavedJobRow> row = RowFromJson(value, refusal);
        if (!row)
            return std::nullopt;
        list.rows.append(*row);
    }
    return list;
}

QString FoundSource(const SavedJobRow& row, const QString& listFolder)
{
    if (QFileInfo(row.source).isFile())
        return row.source;
    const QString moved = QDir::cleanPath(QDir(listFolder).absoluteFilePath(row.relativeSource));
    return QFileInfo(moved).isFile() ? QDir::toNativeSeparators(moved) : QString();
}
