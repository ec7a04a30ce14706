// SPDX-License-Identifier: GPL-3.0-or-later
// A worksheet from JSON, and from a file: every field checked before anything is returned.

#include "worksheet.h"

#include "formula/equation.h"
#include "gph/worksheetformat.h"
#include "graph/family.h"
#include "settings/settingsfields.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <limits>

namespace lw {

using namespace worksheetformat;

namespace {

constexpr qsizetype MaximumTextLength = 32767;
constexpr const SettingsField &PrecisionField = SettingsFieldNamed("Precision");

// A JSON object and where it lies in the file, in German names a pupil can follow.
struct Node {
    QJsonObject object;
    QString path;
};

QString below(const QString &path, const QString &label)
{
    return path.isEmpty() ? label : path + QStringLiteral(", ") + label;
}

// A text quoted in a message, cut short: a damaged file may hold pages in one field.
QString shown(const QString &value)
{
    return u'"' + (value.size() > 20 ? value.left(20) + u'…' : value) + u'"';
}

// Reads on after a fault, so that each step stays a plain function of its input; only the first
// fault is told, and nothing read after it is used.
class SheetReader {
public:
    WorksheetReadResult read(const QByteArray &bytes);

private:
    bool failed() const { return !m_error.isEmpty(); }
    void fail(const QString &path, const QString &reason)
    {
        if (!failed())
            m_error = path.isEmpty() ? reason : path + QStringLiteral(": ") + reason;
    }

    QJsonValue at(const Node &node, const char *key, const QString &path)
    {
        const auto found = node.object.constFind(QLatin1StringView(key));
        if (found != node.object.constEnd())
            return *found;
        fail(path, QStringLiteral("fehlt (Eintrag „%1“).").arg(QLatin1StringView(key)));
        return QJsonValue(QJsonValue::Undefined);
    }

    bool truthOf(const QJsonValue &value, const QString &path)
    {
        if (!value.isBool())
            fail(path, QStringLiteral("muss true oder false sein."));
        return value.toBool();
    }
    double numberOf(const QJsonValue &value, const QString &path)
    {
        if (!value.isDouble() || !std::isfinite(value.toDouble()))
            fail(path, QStringLiteral("muss eine Zahl sein."));
        return value.toDouble() + 0.0; // no -0 that would be written as 0
    }
    std::u16string textOf(const QJsonValue &value, const QString &path)
    {
        if (!value.isString())
            fail(path, QStringLiteral("muss ein Text in Anführungszeichen sein."));
        else if (value.toString().size() > MaximumTextLength)
            fail(path, QStringLiteral("ist länger als %1 Zeichen.").arg(MaximumTextLength));
        return failed() ? std::u16string() : value.toString().toStdU16String();
    }
    Node nodeOf(const QJsonValue &value, const QString &path)
    {
        if (!value.isObject())
            fail(path, QStringLiteral("muss ein Objekt in { } sein."));
        return {value.toObject(), path};
    }
    QJsonArray listOf(const QJsonValue &value, const QString &path, qsizetype size)
    {
        if (!value.isArray())
            fail(path, QStringLiteral("muss eine Liste in [ ] sein."));
        else if (value.toArray().size() != size)
            fail(path, QStringLiteral("muss genau %1 Einträge haben, für a bis h.").arg(size));
        return failed() ? QJsonArray() : value.toArray();
    }

    bool truth(const Node &node, const char *key, const QString &label)
    {
        const QString path = below(node.path, label);
        return truthOf(at(node, key, path), path);
    }
    std::u16string text(const Node &node, const char *key, const QString &label)
    {
        const QString path = below(node.path, label);
        return textOf(at(node, key, path), path);
    }
    double number(const Node &node, const char *key, const QString &label)
    {
        const QString path = below(node.path, label);
        return numberOf(at(node, key, path), path);
    }
    Node child(const Node &node, const char *key, const QString &label)
    {
        const QString path = below(node.path, label);
        return nodeOf(at(node, key, path), path);
    }

    Colour colourOf(const QJsonValue &value, const QString &path);
    Colour colour(const Node &node, const char *key, const QString &label)
    {
        const QString path = below(node.path, label);
        return colourOf(at(node, key, path), path);
    }
    Notation notation(const Node &node, const char *key, const QString &label);
    int16_t int16(const QJsonValue &value, const QString &path, const SettingsField &field);
    float decimal(const QJsonValue &value, const QString &path, const SettingsField &field);
    double centreFraction(const Node &node, const char *key);

    bool readHeader(const Node &root);
    GraphSettingsRecord readSettings(const Node &node);
    void readSettingsField(const Node &node, const SettingsField &field,
                           GraphSettingsRecord &settings);
    void readParameters(const Node &node, Worksheet &sheet);
    ParameterRange readRange(const Node &row);
    std::vector<CurveEntry> readCurves(const Node &root);
    CurveEntry readCurve(const Node &node);
    VariableValues readCurveParameters(const Node &node);

    QString m_error;
};

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

Colour SheetReader::colourOf(const QJsonValue &value, const QString &path)
{
    if (!value.isString()) {
        fail(path, QStringLiteral("muss eine Farbe als Text sein (\"#rrggbb\")."));
        return 0;
    }
    const QString name = value.toString();
    if (name.size() != 7 || !name.startsWith(u'#')
        || !std::all_of(name.begin() + 1, name.end(), isHexDigit)) {
        fail(path, QStringLiteral("%1 ist keine Farbe (#rrggbb).").arg(shown(name)));
        return 0;
    }
    const uint rgb = name.mid(1).toUInt(nullptr, 16);
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

Notation SheetReader::notation(const Node &node, const char *key, const QString &label)
{
    const QString path = below(node.path, label);
    const QString name = at(node, key, path).toString();
    if (name == notationName(Notation::Kzn))
        return Notation::Kzn;
    if (name != notationName(Notation::Mathematical))
        fail(path, QStringLiteral("muss \"mathematisch\" oder \"kzn\" sein."));
    return Notation::Mathematical;
}

int16_t SheetReader::int16(const QJsonValue &value, const QString &path, const SettingsField &field)
{
    const double number = numberOf(value, path);
    const double lowest = field.positive ? 1 : field.minimum;
    if (number >= lowest && number <= field.maximum && number == std::floor(number))
        return static_cast<int16_t>(number);
    fail(path, QStringLiteral("muss eine ganze Zahl zwischen %1 und %2 sein.")
                   .arg(lowest)
                   .arg(field.maximum));
    return 0;
}

float SheetReader::decimal(const QJsonValue &value, const QString &path, const SettingsField &field)
{
    const double number = numberOf(value, path);
    // A float is written by its shortest text, which for ±3,4E+38 reads back a hair beyond it.
    const auto atBound = [number](double bound) {
        return std::fabs(number - bound) <= std::ldexp(std::fabs(bound), -24);
    };
    // Tested before the conversion: a double beyond the floats has no float to become.
    const float read = (number >= field.minimum || atBound(field.minimum))
                               && (number <= field.maximum || atBound(field.maximum))
                           ? static_cast<float>(std::clamp(number, field.minimum, field.maximum))
                           : std::numeric_limits<float>::quiet_NaN();
    if (field.positive && !(read > 0))
        fail(path, QStringLiteral("muss eine Zahl größer als 0 sein, höchstens 3,4E+38."));
    else if (std::isnan(read))
        fail(path, QStringLiteral("muss eine Zahl zwischen -3,4E+38 und 3,4E+38 sein."));
    return read + 0.0f;
}

double SheetReader::centreFraction(const Node &node, const char *key)
{
    const QString path = below(node.path, QLatin1StringView(key));
    const double fraction = numberOf(at(node, key, path), path);
    if (!(fraction > -0.5 && fraction < 0.5))
        fail(path, QStringLiteral("muss größer als -0,5 und kleiner als 0,5 sein."));
    return fraction;
}

bool SheetReader::readHeader(const Node &root)
{
    const QString format = QStringLiteral("Format");
    if (at(root, "format", format) != QJsonValue(FormatName))
        fail(format,
             QStringLiteral("muss \"%1\" sein; die Datei ist kein Arbeitsblatt.").arg(FormatName));
    const QString versionPath = QStringLiteral("Version");
    const double version = numberOf(at(root, "version", versionPath), versionPath);
    if (failed())
        return false;
    if (version > WorksheetFormatVersion)
        fail({}, QStringLiteral("Das Arbeitsblatt hat die Version %1; dieses Programm liest "
                                "Version %2.")
                     .arg(QString::number(version, 'g', 16))
                     .arg(WorksheetFormatVersion));
    else if (version != WorksheetFormatVersion)
        fail(versionPath, QStringLiteral("muss %1 sein.").arg(WorksheetFormatVersion));
    return !failed();
}

void SheetReader::readSettingsField(const Node &node, const SettingsField &field,
                                    GraphSettingsRecord &settings)
{
    const QString path = below(node.path, QLatin1StringView(field.name));
    const QJsonValue value = at(node, field.name, path);
    switch (field.kind) {
    case FieldKind::Colour:
        settings.*std::get<Colour GraphSettingsRecord::*>(field.member) = colourOf(value, path);
        return;
    case FieldKind::Int16:
        settings.*std::get<int16_t GraphSettingsRecord::*>(field.member) =
            int16(value, path, field);
        return;
    case FieldKind::Float:
        settings.*std::get<float GraphSettingsRecord::*>(field.member) =
            decimal(value, path, field);
        return;
    case FieldKind::Truth:
        settings.*std::get<bool GraphSettingsRecord::*>(field.member) = truthOf(value, path);
        return;
    }
}

GraphSettingsRecord SheetReader::readSettings(const Node &node)
{
    GraphSettingsRecord settings;
    for (const SettingsField &field : SettingsFields)
        readSettingsField(node, field, settings);
    settings.Legend = truth(node, "Legend", QStringLiteral("Legend"));
    settings.CentreFractionX = centreFraction(node, "CentreFractionX");
    settings.CentreFractionY = centreFraction(node, "CentreFractionY");
    return settings;
}

ParameterRange SheetReader::readRange(const Node &row)
{
    const ParameterRange range{number(row, "from", QStringLiteral("von")),
                               number(row, "to", QStringLiteral("bis")),
                               number(row, "step", QStringLiteral("Schrittweite"))};
    const QString step = below(row.path, QStringLiteral("Schrittweite"));
    switch (CheckSliderRange(range)) {
    case SliderRangeFault::None: break;
    case SliderRangeFault::EndNotAboveStart:
        fail(below(row.path, QStringLiteral("bis")), QStringLiteral("muss größer als „von“ sein."));
        break;
    case SliderRangeFault::StepNotPositive:
        fail(step, QStringLiteral("muss größer als 0 sein."));
        break;
    case SliderRangeFault::TooManyPositions:
        fail(step, QStringLiteral("ist zu klein: von „von“ bis „bis“ wären es mehr als %1 "
                                  "Schritte.")
                       .arg(GroupedNumber(MaximumSliderPositions)));
        break;
    }
    return range;
}

void SheetReader::readParameters(const Node &node, Worksheet &sheet)
{
    sheet.parameters.editMode =
        truth(node, "editMode", QStringLiteral("Variablenwerte bearbeiten"));
    const QString rowsPath = below(node.path, QStringLiteral("Zeilen"));
    const QJsonArray rows = listOf(at(node, "rows", rowsPath), rowsPath, ParameterCount);
    for (std::size_t i = 0; i < ParameterCount && !failed(); ++i) {
        const QString letter = letterOf(i);
        const Node row =
            nodeOf(rows[static_cast<qsizetype>(i)], QStringLiteral("Parameter ") + letter);
        if (text(row, "letter", QStringLiteral("Buchstabe")) != letter.toStdU16String())
            fail(below(row.path, QStringLiteral("Buchstabe")),
                 QStringLiteral("muss \"%1\" sein.").arg(letter));
        sheet.parameters.checked[i] = truth(row, "checked", QStringLiteral("angekreuzt"));
        sheet.parameters.values[i] = text(row, "value", QStringLiteral("Wert"));
        sheet.ranges[i] = readRange(row);
    }
}

VariableValues SheetReader::readCurveParameters(const Node &node)
{
    VariableValues parameters;
    parameters.editMode = truth(node, "editMode", QStringLiteral("Variablenwerte bearbeiten"));
    const QString checkedPath = below(node.path, QStringLiteral("angekreuzt"));
    const QJsonArray checked =
        listOf(at(node, "checked", checkedPath), checkedPath, ParameterCount);
    const QString valuesPath = below(node.path, QStringLiteral("Werte"));
    const QJsonArray values = listOf(at(node, "values", valuesPath), valuesPath, ParameterCount);
    for (std::size_t i = 0; i < ParameterCount && !failed(); ++i) {
        const QString row = node.path + u' ' + letterOf(i);
        parameters.checked[i] =
            truthOf(checked[static_cast<qsizetype>(i)], row + QStringLiteral(", angekreuzt"));
        parameters.values[i] =
            textOf(values[static_cast<qsizetype>(i)], row + QStringLiteral(", Wert"));
    }
    return parameters;
}

CurveEntry SheetReader::readCurve(const Node &node)
{
    CurveEntry curve;
    curve.typed = text(node, "equation", QStringLiteral("Gleichung"));
    curve.notation = notation(node, "notation", QStringLiteral("Schreibweise"));
    curve.parameters = readCurveParameters(child(node, "parameters", QStringLiteral("Parameter")));
    curve.colour = colour(node, "colour", QStringLiteral("Farbe"));
    const QString precision = below(node.path, QStringLiteral("Rechengenauigkeit"));
    curve.precision = decimal(at(node, "precision", precision), precision, PrecisionField);
    curve.linkPoints = truth(node, "linkPoints", QStringLiteral("Punkte verbinden"));
    curve.visible = truth(node, "visible", QStringLiteral("sichtbar"));
    curve.legend = text(node, "legend", QStringLiteral("Legende"));
    if (failed())
        return curve;
    const EquationFormula converted = FormulaOfEquation(curve.typed, curve.notation);
    if (converted.fault != EquationFault::None) {
        fail(below(node.path, QStringLiteral("Gleichung "))
                 + shown(QString::fromStdU16String(curve.typed)),
             QString::fromStdU16String(converted.message));
        return curve;
    }
    curve.kznFormula = converted.formula;
    curve.formula = UpdateVariables(curve.kznFormula, curve.parameters);
    return curve;
}

std::vector<CurveEntry> SheetReader::readCurves(const Node &root)
{
    const QString path = QStringLiteral("Kurven");
    const QJsonValue value = at(root, "curves", path);
    if (!value.isArray())
        fail(path, QStringLiteral("muss eine Liste in [ ] sein."));
    const QJsonArray list = value.toArray();
    if (static_cast<std::size_t>(list.size()) > WorksheetMaximumCurves)
        fail(path, QStringLiteral("Ein Arbeitsblatt hat höchstens %1 Kurven, dieses %2.")
                       .arg(GroupedNumber(WorksheetMaximumCurves))
                       .arg(list.size()));
    std::vector<CurveEntry> curves;
    for (qsizetype i = 0; i < list.size() && !failed(); ++i)
        curves.push_back(readCurve(nodeOf(list[i], QStringLiteral("Kurve %1").arg(i + 1))));
    return curves;
}

WorksheetReadResult SheetReader::read(const QByteArray &bytes)
{
    if (bytes.size() > WorksheetMaximumSize)
        return {std::nullopt, QStringLiteral("Die Datei ist größer als %1 MiB und damit kein "
                                             "Arbeitsblatt.")
                                  .arg(WorksheetMaximumSize / (1024 * 1024))};
    QJsonParseError parsing;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parsing);
    if (parsing.error != QJsonParseError::NoError)
        return {std::nullopt, QStringLiteral("Die Datei ist kein Arbeitsblatt (kein gültiges "
                                             "JSON: %1, Zeichen %2).")
                                  .arg(parsing.errorString())
                                  .arg(parsing.offset)};
    if (!document.isObject())
        return {std::nullopt,
                QStringLiteral("Die Datei ist kein Arbeitsblatt (kein JSON-Objekt in { }).")};
    const Node root{document.object(), {}};
    if (!readHeader(root))
        return {std::nullopt, m_error};
    Worksheet sheet;
    sheet.settings = readSettings(child(root, "settings", QStringLiteral("Einstellungen")));
    const Node equation = child(root, "equation", QStringLiteral("Gleichung"));
    sheet.equation = text(equation, "text", QStringLiteral("Text"));
    sheet.notation = notation(equation, "notation", QStringLiteral("Schreibweise"));
    sheet.autoConvert = truth(equation, "convert", QStringLiteral("konvertieren"));
    readParameters(child(root, "parameters", QStringLiteral("Parameter")), sheet);
    if (!failed())
        sheet.curves = readCurves(root);
    if (failed())
        return {std::nullopt, m_error};
    return {std::move(sheet), {}};
}

WorksheetReadResult fileFault(const QString &reason)
{
    return {std::nullopt, reason};
}

} // namespace

WorksheetReadResult ReadWorksheet(const QByteArray &bytes)
{
    return SheetReader().read(bytes);
}

WorksheetReadResult ReadWorksheetFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return fileFault(QStringLiteral("Die Datei gibt es nicht."));
    if (info.isDir())
        return fileFault(QStringLiteral("Das ist ein Ordner, keine Datei."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fileFault(QStringLiteral("Die Datei kann nicht geöffnet werden."));
    // One byte more than allowed, so that ReadWorksheet refuses a file too large unread.
    const QByteArray bytes = file.read(WorksheetMaximumSize + 1);
    if (file.error() != QFileDevice::NoError)
        return fileFault(QStringLiteral("Die Datei kann nicht gelesen werden."));
    return ReadWorksheet(bytes);
}

} // namespace lw
