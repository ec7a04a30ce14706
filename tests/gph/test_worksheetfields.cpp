// SPDX-License-Identifier: GPL-3.0-or-later
// Every field of a worksheet, broken one at a time in a random valid sheet, against the format as
// written down here: the field names, their places and the values they may hold.

#include "gph/worksheet.h"
#include "tests/formula/seededrandom.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cfloat>

namespace lw {
namespace {

enum class Kind {
    Truth,
    Text,
    Colour,
    Int,
    PositiveInt,
    Decimal,
    PositiveDecimal,
    Fraction,
    Notation,
    Letter,
    Format,
    Version,
    Object,
    List,    // of exactly eight, a to h
    Curves,  // a list of any length
    From,    // a slider range's start; above its end, the end is named
    To,      // its end
    Step,    // its step
    Equation // a curve's equation, in its notation
};

// A field: where it lies (keys, and indices of lists), its kind, and how a message names it.
struct Field {
    QStringList at;
    Kind kind;
    QString named;
};

const char *const IntNames[] = {"ScreenCentralX", "ScreenCentralY", "OriginX",
                                "OriginY",        "PutMarkEachX",   "PutMarkEachY",
                                "PutNumberEachX", "PutNumberEachY"};

QJsonValue changed(const QJsonValue &node, QStringList at, const std::optional<QJsonValue> &to)
{
    const QString key = at.takeFirst();
    if (node.isArray()) {
        QJsonArray list = node.toArray();
        list.replace(key.toInt(), at.isEmpty() ? *to : changed(list.at(key.toInt()), at, to));
        return list;
    }
    QJsonObject object = node.toObject();
    if (!at.isEmpty())
        object.insert(key, changed(object.value(key), at, to));
    else if (to)
        object.insert(key, *to);
    else
        object.remove(key);
    return object;
}

QJsonValue valueAt(QJsonValue node, const QStringList &at)
{
    for (const QString &key : at)
        node = node.isArray() ? node.toArray()[key.toInt()] : node.toObject()[key];
    return node;
}

// A random valid sheet, its fields listed as it is made.
class SheetMaker {
public:
    explicit SheetMaker(uint64_t seed) : random(seed) {}

    QJsonObject make();
    std::vector<Field> fields;
    QJsonObject sheet;
    test::SeededRandom random;

private:
    QJsonValue add(const QStringList &at, Kind kind, const QString &named, QJsonValue value)
    {
        fields.push_back({at, kind, named});
        return value;
    }
    bool coin() { return random.chance(50); }
    QJsonValue truth(const QStringList &at, const QString &named)
    {
        return add(at, Kind::Truth, named, coin());
    }
    QJsonValue text(const QStringList &at, const QString &named)
    {
        const QString texts[] = {"", "b = 2", "√x² – ä \"\\\n", QString(32767, u'z')};
        return add(at, Kind::Text, named, texts[random.below(random.chance(90) ? 3 : 4)]);
    }
    QJsonValue colour(const QStringList &at, const QString &named)
    {
        const QString hex = QString::asprintf("#%06x", unsigned(random.next() & 0xFFFFFF));
        return add(at, Kind::Colour, named, coin() ? hex : hex.toUpper());
    }
    double between(double low, double high)
    {
        if (random.chance(25))
            return coin() ? low : high;
        return low + random.below(std::size_t(high - low) + 1);
    }
    QJsonValue decimal(const QStringList &at, const QString &named, bool positive)
    {
        const double edges[] = {FLT_MAX, positive ? FLT_TRUE_MIN : -FLT_MAX};
        const double value = random.chance(20) ? edges[random.below(2)]
                             : positive        ? between(1, 4000) / 8
                                               : between(-4000, 4000) / 8;
        return add(at, positive ? Kind::PositiveDecimal : Kind::Decimal, named, value);
    }
    QJsonObject settings();
    QJsonObject parameters();
    QJsonObject curve(int index);
};

QJsonObject SheetMaker::settings()
{
    const QStringList at{"settings"};
    const QString in = QStringLiteral("Einstellungen, ");
    QJsonObject object;
    const auto put = [&](const QString &key, auto &&make) {
        object[key] = make(at + QStringList{key}, in + key);
    };
    for (const char *key : {"GraphColor", "GraphNumberColor", "LiveColor"})
        put(key, [&](auto path, auto named) { return colour(path, named); });
    for (const char *key : {"GraphScaleX", "GraphScaleY"})
        put(key, [&](auto path, auto named) {
            return add(path, Kind::PositiveInt, named, between(1, INT16_MAX));
        });
    for (const char *key : IntNames)
        put(key, [&](auto path, auto named) {
            return add(path, Kind::Int, named, between(INT16_MIN, INT16_MAX));
        });
    for (const char *key : {"CalcFrom", "CalcTo"})
        put(key, [&](auto path, auto named) { return decimal(path, named, false); });
    put("Precision", [&](auto path, auto named) { return decimal(path, named, true); });
    for (const char *key : {"LinkPoints", "AlwaysDeleteGraph", "Legend"})
        put(key, [&](auto path, auto named) { return truth(path, named); });
    for (const char *key : {"CentreFractionX", "CentreFractionY"})
        put(key, [&](auto path, auto named) {
            return add(path, Kind::Fraction, named, between(-511, 511) / 1024);
        });
    return add(at, Kind::Object, "Einstellungen", object).toObject();
}

QJsonObject SheetMaker::parameters()
{
    const QStringList at{"parameters"};
    QJsonArray rows;
    for (int i = 0; i < 8; ++i) {
        const QString letter(QChar(u'a' + i));
        const QStringList row = at + QStringList{"rows", QString::number(i)};
        const QString named = "Parameter " + letter + ", ";
        const double from = between(-400, 400) / 4;
        const double to = from + between(1, 256) / 4;
        // At most 64 units in steps of 1/1024: within the slider's positions.
        const double step = 1.0 / (1 << random.below(11));
        rows.append(add(
            row, Kind::Object, "Parameter " + letter,
            QJsonObject{{"letter", add(row + QStringList{"letter"}, Kind::Letter,
                                       named + "Buchstabe", letter)},
                        {"checked", truth(row + QStringList{"checked"}, named + "angekreuzt")},
                        {"value", text(row + QStringList{"value"}, named + "Wert")},
                        {"from", add(row + QStringList{"from"}, Kind::From, named + "von", from)},
                        {"to", add(row + QStringList{"to"}, Kind::To, named + "bis", to)},
                        {"step", add(row + QStringList{"step"}, Kind::Step, named + "Schrittweite",
                                     step)}}));
    }
    return add(at, Kind::Object, "Parameter",
               QJsonObject{
                   {"editMode",
                    truth(at + QStringList{"editMode"}, "Parameter, Variablenwerte bearbeiten")},
                   {"rows", add(at + QStringList{"rows"}, Kind::List, "Parameter, Zeilen", rows)}})
        .toObject();
}

QJsonObject SheetMaker::curve(int index)
{
    const QStringList at{"curves", QString::number(index)};
    const QString named = QStringLiteral("Kurve %1").arg(index + 1);
    const QStringList p = at + QStringList{"parameters"};
    QJsonArray checked;
    QJsonArray values;
    for (int i = 0; i < 8; ++i) {
        const QString row = named + ", Parameter " + QChar(u'a' + i);
        checked.append(truth(p + QStringList{"checked", QString::number(i)}, row + ", angekreuzt"));
        values.append(text(p + QStringList{"values", QString::number(i)}, row + ", Wert"));
    }
    const QJsonObject parameters{
        {"editMode",
         truth(p + QStringList{"editMode"}, named + ", Parameter, Variablenwerte bearbeiten")},
        {"checked",
         add(p + QStringList{"checked"}, Kind::List, named + ", Parameter, angekreuzt", checked)},
        {"values",
         add(p + QStringList{"values"}, Kind::List, named + ", Parameter, Werte", values)}};
    const bool kzn = coin();
    const QString equations[2][2] = {{"a*x^2+b", "sin(x)"}, {"SUM(x;c)", "SIN(h)"}};
    return add(at, Kind::Object, named,
               QJsonObject{
                   {"equation", add(at + QStringList{"equation"}, Kind::Equation,
                                    named + ", Gleichung", equations[kzn][random.below(2)])},
                   {"notation", add(at + QStringList{"notation"}, Kind::Notation,
                                    named + ", Schreibweise", kzn ? "kzn" : "mathematisch")},
                   {"parameters", add(p, Kind::Object, named + ", Parameter", parameters)},
                   {"colour", colour(at + QStringList{"colour"}, named + ", Farbe")},
                   {"precision",
                    decimal(at + QStringList{"precision"}, named + ", Rechengenauigkeit", true)},
                   {"linkPoints",
                    truth(at + QStringList{"linkPoints"}, named + ", Punkte verbinden")},
                   {"visible", truth(at + QStringList{"visible"}, named + ", sichtbar")},
                   {"legend", text(at + QStringList{"legend"}, named + ", Legende")}})
        .toObject();
}

QJsonObject SheetMaker::make()
{
    sheet["format"] = add({"format"}, Kind::Format, "Format", "Linienwerk-Arbeitsblatt");
    sheet["version"] = add({"version"}, Kind::Version, "Version", 1);
    sheet["settings"] = settings();
    const QStringList e{"equation"};
    sheet["equation"] = add(
        e, Kind::Object, "Gleichung",
        QJsonObject{{"text", text(e + QStringList{"text"}, "Gleichung, Text")},
                    {"notation", add(e + QStringList{"notation"}, Kind::Notation,
                                     "Gleichung, Schreibweise", coin() ? "kzn" : "mathematisch")},
                    {"convert", truth(e + QStringList{"convert"}, "Gleichung, konvertieren")}});
    sheet["parameters"] = parameters();
    QJsonArray curves;
    for (int i = 0, count = random.below(4); i < count; ++i)
        curves.append(curve(i));
    sheet["curves"] = add({"curves"}, Kind::Curves, "Kurven", curves);
    return sheet;
}

// A value of the field's kind that the reader must refuse, and what its message then says.
std::pair<QJsonValue, QString> outOfRange(const Field &field, const QJsonObject &sheet,
                                          test::SeededRandom &r)
{
    const auto pick = [&](std::initializer_list<QJsonValue> values) {
        return values.begin()[r.below(values.size())];
    };
    const QJsonValue valid = valueAt(sheet, field.at);
    const QString named = field.named + QStringLiteral(": ");
    QStringList rangeAt = field.at;
    rangeAt.last() = QStringLiteral("from");
    const double from = valueAt(sheet, rangeAt).toDouble();
    rangeAt.last() = QStringLiteral("to");
    const double to = valueAt(sheet, rangeAt).toDouble();
    switch (field.kind) {
    case Kind::Int: return {pick({INT16_MAX + 1, INT16_MIN - 1, 2.5}), named};
    case Kind::PositiveInt: return {pick({0, INT16_MAX + 1, -1, 0.5}), named};
    case Kind::Decimal: return {pick({3.5e38, -3.5e38, 1e300}), named};
    case Kind::PositiveDecimal: return {pick({0, -0.125, 3.5e38, 1e-50, -FLT_TRUE_MIN}), named};
    case Kind::Fraction: return {pick({0.5, -0.5, 0.75}), named};
    case Kind::Colour:
        return {pick({"#12345", "1234567", "#12345g", "#1234567", "#-12345"}), named};
    case Kind::Text:
    case Kind::Equation: return {QString(32768, u'x'), named};
    case Kind::Notation: return {pick({"KZN", "Mathematisch", ""}), named};
    case Kind::Letter: return {pick({"z", "A", ""}), named};
    case Kind::Format: return {"Linienwerk", named};
    case Kind::Version: return {pick({2, 1.5}), QStringLiteral("hat die Version")};
    case Kind::From:
        return {pick({to, to + 1000}), field.named.chopped(3) + QStringLiteral("bis: ")};
    case Kind::To: return {pick({from, from - 1000, -1e300}), named};
    case Kind::Step: return {pick({0, -0.5, 1e-7}), named};
    case Kind::List: {
        QJsonArray list = valid.toArray();
        r.chance(50) ? list.removeLast() : list.append(list.first());
        return {list, named};
    }
    case Kind::Truth:
    case Kind::Object:
    case Kind::Curves: break;
    }
    return {QJsonValue(QStringLiteral("x")), named};
}

// A field of another type (a text for a number, a truth for a text), or none.
std::pair<std::optional<QJsonValue>, QString> broken(const Field &field, const QJsonObject &sheet,
                                                     test::SeededRandom &r)
{
    const QJsonValue valid = valueAt(sheet, field.at);
    if (r.chance(25) && !field.at.last().front().isDigit())
        return {std::nullopt,
                QStringLiteral("%1: fehlt (Eintrag „%2“).").arg(field.named, field.at.last())};
    if (r.chance(30))
        return {valid.isString() ? QJsonValue(true) : QJsonValue(QStringLiteral("x")),
                field.named + QStringLiteral(": ")};
    return outOfRange(field, sheet, r);
}

bool sameValue(const Field &field, const QJsonValue &made, const QJsonValue &read)
{
    switch (field.kind) {
    case Kind::Decimal:
    case Kind::PositiveDecimal: return float(made.toDouble()) == float(read.toDouble());
    case Kind::Colour: return made.toString().toLower() == read.toString();
    default: return made == read;
    }
}

TEST(WorksheetFields, EveryFieldBrokenIsRefusedByName)
{
    for (uint64_t seed = 1; seed <= 40; ++seed) {
        SheetMaker maker(seed);
        const QJsonObject valid = maker.make();
        const WorksheetReadResult read = ReadWorksheet(QJsonDocument(valid).toJson());
        ASSERT_TRUE(read.ok()) << seed << read.error.toStdString();
        const QJsonObject again = QJsonDocument::fromJson(WriteWorksheet(*read.sheet)).object();
        for (const Field &field : maker.fields) {
            const std::string where = std::to_string(seed) + " " + field.at.join('/').toStdString();
            const QJsonValue made = valueAt(valid, field.at);
            if (field.kind != Kind::Object && field.kind != Kind::List
                && field.kind != Kind::Curves) {
                EXPECT_TRUE(sameValue(field, made, valueAt(again, field.at))) << where;
            }

            const auto [value, expected] = broken(field, valid, maker.random);
            const QJsonValue sheet = changed(valid, field.at, value);
            const QString error = ReadWorksheet(QJsonDocument(sheet.toObject()).toJson()).error;
            EXPECT_TRUE(error.contains(expected))
                << where << " = "
                << QJsonDocument(QJsonArray{value.value_or(QJsonValue())})
                       .toJson(QJsonDocument::Compact)
                       .left(60)
                       .toStdString()
                << ": " << error.toStdString();
        }
    }
}

// The writer puts FLT_MAX as 3.4028235e+38, a little above it as a double, which the reader
// refuses: a sheet holding the largest decimal is saved as one that does not open again.
TEST(WorksheetFields, TheLargestDecimalsOpenAgainOnceWritten)
{
    Worksheet sheet;
    sheet.settings.CalcFrom = -FLT_MAX;
    sheet.settings.CalcTo = FLT_MAX;
    const WorksheetReadResult read = ReadWorksheet(WriteWorksheet(sheet));
    EXPECT_TRUE(read.ok()) << read.error.toStdString();
}

} // namespace
} // namespace lw
