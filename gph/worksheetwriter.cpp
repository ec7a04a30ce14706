// SPDX-License-Identifier: GPL-3.0-or-later
// A worksheet to JSON, and to a file.

#include "worksheet.h"

#include "gph/savefile.h"
#include "gph/worksheetformat.h"
#include "settings/settingsfields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <charconv>

namespace lw {

using namespace worksheetformat;

namespace {

QString colourText(Colour colour)
{
    return QString::asprintf("#%02x%02x%02x", colour & 0xFF, (colour >> 8) & 0xFF,
                             (colour >> 16) & 0xFF);
}

// The shortest decimal that reads back as the same float: 0.1 rather than 0.10000000149011612.
double floatNumber(float value)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    double shortest = 0;
    std::from_chars(text, written.ptr, shortest);
    return static_cast<float>(shortest) == value ? shortest : static_cast<double>(value);
}

QJsonValue text(const std::u16string &value)
{
    return QString::fromStdU16String(value);
}

QJsonValue fieldValue(const GraphSettingsRecord &settings, const SettingsField &field)
{
    switch (field.kind) {
    case FieldKind::Colour:
        return colourText(settings.*std::get<Colour GraphSettingsRecord::*>(field.member));
    case FieldKind::Int16: return settings.*std::get<int16_t GraphSettingsRecord::*>(field.member);
    case FieldKind::Float:
        return floatNumber(settings.*std::get<float GraphSettingsRecord::*>(field.member));
    case FieldKind::Truth: return settings.*std::get<bool GraphSettingsRecord::*>(field.member);
    }
    return {};
}

QJsonObject settingsObject(const GraphSettingsRecord &settings)
{
    QJsonObject object;
    for (const SettingsField &field : SettingsFields)
        object.insert(QLatin1StringView(field.name), fieldValue(settings, field));
    object.insert(QStringLiteral("Legend"), settings.Legend);
    object.insert(QStringLiteral("CentreFractionX"), settings.CentreFractionX);
    object.insert(QStringLiteral("CentreFractionY"), settings.CentreFractionY);
    return object;
}

QJsonObject parametersObject(const Worksheet &sheet)
{
    QJsonArray rows;
    for (std::size_t i = 0; i < ParameterCount; ++i) {
        const ParameterRange &range = sheet.ranges[i];
        rows.append(QJsonObject{{QStringLiteral("letter"), letterOf(i)},
                                {QStringLiteral("checked"), sheet.parameters.checked[i]},
                                {QStringLiteral("value"), text(sheet.parameters.values[i])},
                                {QStringLiteral("from"), range.from},
                                {QStringLiteral("to"), range.to},
                                {QStringLiteral("step"), range.step}});
    }
    return {{QStringLiteral("editMode"), sheet.parameters.editMode},
            {QStringLiteral("rows"), rows}};
}

QJsonObject curveObject(const CurveEntry &curve)
{
    QJsonArray checked;
    QJsonArray values;
    for (std::size_t i = 0; i < ParameterCount; ++i) {
        checked.append(curve.parameters.checked[i]);
        values.append(text(curve.parameters.values[i]));
    }
    const QJsonObject parameters{{QStringLiteral("editMode"), curve.parameters.editMode},
                                 {QStringLiteral("checked"), checked},
                                 {QStringLiteral("values"), values}};
    return {{QStringLiteral("equation"), text(curve.typed)},
            {QStringLiteral("notation"), notationName(curve.notation)},
            {QStringLiteral("parameters"), parameters},
            {QStringLiteral("colour"), colourText(curve.colour)},
            {QStringLiteral("precision"), floatNumber(curve.precision)},
            {QStringLiteral("linkPoints"), curve.linkPoints},
            {QStringLiteral("visible"), curve.visible},
            {QStringLiteral("legend"), text(curve.legend)}};
}

} // namespace

QByteArray WriteWorksheet(const Worksheet &sheet)
{
    QJsonArray curves;
    for (const CurveEntry &curve : sheet.curves)
        curves.append(curveObject(curve));
    const QJsonObject equation{{QStringLiteral("text"), text(sheet.equation)},
                               {QStringLiteral("notation"), notationName(sheet.notation)},
                               {QStringLiteral("convert"), sheet.autoConvert}};
    const QJsonObject root{{QStringLiteral("format"), FormatName},
                           {QStringLiteral("version"), WorksheetFormatVersion},
                           {QStringLiteral("settings"), settingsObject(sheet.settings)},
                           {QStringLiteral("equation"), equation},
                           {QStringLiteral("parameters"), parametersObject(sheet)},
                           {QStringLiteral("curves"), curves}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool SaveWorksheetFile(const Worksheet &sheet, const QString &path, QString *error)
{
    const QByteArray bytes = WriteWorksheet(sheet);
    // A file that opening would refuse is worse than none: the pupil learns of it only later.
    if (bytes.size() > WorksheetMaximumSize) {
        *error =
            QStringLiteral("Das Arbeitsblatt wäre größer als %1 MiB; bitte löschen Sie Kurven.")
                .arg(WorksheetMaximumSize / (1024 * 1024));
        return false;
    }
    if (const WorksheetReadResult check = ReadWorksheet(bytes); !check.ok()) {
        *error = QStringLiteral("Das Arbeitsblatt ließe sich so nicht wieder öffnen: %1")
                     .arg(check.error);
        return false;
    }
    return SaveFileAtomically(path, bytes, error);
}

} // namespace lw
