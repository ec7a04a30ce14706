// SPDX-License-Identifier: GPL-3.0-or-later

#include "gph/worksheet.h"
#include "settings/settingsfields.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

namespace lw {
namespace {

// Every field away from its default, the values drawn at random within their ranges.
Worksheet randomSheet(unsigned seed)
{
    std::mt19937 random(seed);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const auto coin = [&] {
        return random() % 2 == 1;
    };
    Worksheet sheet;
    sheet.equation = u"√x² – ä \"\\\n";
    sheet.notation = Notation::Kzn;
    sheet.autoConvert = true;
    for (const SettingsField &field : SettingsFields) {
        const double value = uniform(field.positive ? 1 : std::max(field.minimum, -1e6),
                                     std::min(field.maximum, 1e6));
        EXPECT_TRUE(SetSettingsField(sheet.settings, QString::fromLatin1(field.name),
                                     QString::number(value, 'f', 0)));
    }
    sheet.settings.Legend = true;
    sheet.settings.CentreFractionX = uniform(-0.4999, 0.4999);
    sheet.settings.CentreFractionY = uniform(-0.4999, 0.4999);
    const std::u16string typed[][2] = {{u"a*x^2+b", u"SUM(x;c)"}, {u"sin(x)", u"SIN(h)"}};
    for (int i = 0; i < 3; ++i) {
        const bool kzn = coin();
        CurveEntry &curve = sheet.curves.emplace_back(
            CurveEntry{.typed = typed[i % 2][kzn],
                       .notation = kzn ? Notation::Kzn : Notation::Mathematical,
                       .legend = u"b = " + std::u16string(1, u'0' + i),
                       .colour = static_cast<Colour>(random() & 0xFFFFFF),
                       .precision = static_cast<float>(uniform(1e-6, 5)),
                       .linkPoints = coin(),
                       .visible = coin()});
        for (VariableValues *values : {&sheet.parameters, &curve.parameters}) {
            values->editMode = coin();
            for (std::size_t row = 0; row < ParameterCount; ++row) {
                values->checked[row] = coin();
                values->values[row] = QString::number(uniform(-9, 9), 'g', 3).toStdU16String();
            }
        }
    }
    for (ParameterRange &range : sheet.ranges) {
        range.from = uniform(-100, 100);
        range.to = range.from + uniform(1, 100);
        range.step = uniform(0.01, 1);
    }
    return sheet;
}

TEST(Worksheet, EveryFieldSurvivesWritingAndReading)
{
    for (unsigned seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        Worksheet sheet = randomSheet(seed);
        const WorksheetReadResult read = ReadWorksheet(WriteWorksheet(sheet));
        ASSERT_TRUE(read.ok()) << read.error.toStdString();
        // The formulas are not in the file; the reader makes them.
        for (std::size_t i = 0; i < sheet.curves.size(); ++i) {
            sheet.curves[i].kznFormula = read.sheet->curves[i].kznFormula;
            sheet.curves[i].formula = read.sheet->curves[i].formula;
        }
        EXPECT_TRUE(SameWorksheet(*read.sheet, sheet));
        EXPECT_EQ(WriteWorksheet(*read.sheet), WriteWorksheet(sheet));
    }
}

// A valid sheet whose fields each stand once in its text, so that a row can change one of them.
QByteArray validText()
{
    Worksheet sheet;
    sheet.settings.OriginX = 3;
    sheet.autoConvert = true;
    sheet.ranges[2] = {-3, 7, 0.25};
    sheet.curves = {{.typed = u"a*x", .legend = u"a = 1", .colour = 0x0000FF},
                    {.typed = u"SUM(x;1)",
                     .notation = Notation::Kzn,
                     .colour = 0x00FF00,
                     .precision = 0.5f,
                     .visible = false}};
    sheet.curves[0].parameters = {.editMode = true, .checked = {true}};
    sheet.curves[0].parameters.values[0] = u"1,5";
    return WriteWorksheet(sheet);
}

TEST(Worksheet, ABrokenFileIsRefusedNamingTheField)
{
    const QByteArray valid = validText();
    const WorksheetReadResult read = ReadWorksheet(valid);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_TRUE(valid.contains("\"colour\": \"#ff0000\"")); // red is the lowest byte
    EXPECT_EQ(read.sheet->curves[0].formula, u"PRO(1,5;x)");
    const struct {
        QByteArray from; // its first place in the valid text; empty: the whole text
        QByteArray to;
        QString named;
    } cases[] = {
        {"", "x", "kein gültiges JSON: illegal value, Zeichen 1"},
        {"", QByteArray(WorksheetMaximumSize + 1, ' '), "größer als 8 MiB"},
        {"\"version\": 1", "\"version\": 2",
         "Das Arbeitsblatt hat die Version 2; dieses Programm liest Version 1."},
        {"Linienwerk-Arbeitsblatt", "Linienwerk", "Format: muss"},
        {"\"GraphScaleX\"", "\"GraphScale\"", "Einstellungen, GraphScaleX: fehlt"},
        {"\"GraphScaleX\": 20", "\"GraphScaleX\": 0",
         "Einstellungen, GraphScaleX: muss eine ganze Zahl zwischen 1 und 32767 sein."},
        {"\"OriginX\": 3", "\"OriginX\": 3.5", "Einstellungen, OriginX: muss eine ganze Zahl"},
        {"\"CalcTo\": 20", "\"CalcTo\": 1e39", "Einstellungen, CalcTo: muss eine Zahl zwischen"},
        {"\"Precision\": 0.1", "\"Precision\": 1e-50", "Einstellungen, Precision: muss eine Zahl"},
        {"\"convert\": true", "\"convert\": 1", "Gleichung, konvertieren: muss true oder false"},
        {"\"rows\": [", "\"rows\": [{},", "Parameter, Zeilen: muss genau 8 Einträge haben"},
        {"\"letter\": \"c\"", "\"letter\": \"d\"", "Parameter c, Buchstabe: muss \"c\" sein."},
        {"\"step\": 0.25", "\"step\": 0", "Parameter c, Schrittweite: muss größer als 0 sein."},
        {"\"step\": 0.25", "\"step\": 0.00001", "Parameter c, Schrittweite: ist zu klein"},
        {"\"from\": -3", "\"from\": 7", "Parameter c, bis: muss größer als „von“ sein."},
        {"\"curves\": [", "\"curves\": [" + QByteArray("{},").repeated(10001),
         "Kurven: Ein Arbeitsblatt hat höchstens 10 000 Kurven"},
        {"\"checked\": [", "\"checked\": [true,", "Kurve 1, Parameter, angekreuzt: muss genau 8"},
        {"\"1,5\"", "1.5", "Kurve 1, Parameter a, Wert: muss ein Text"},
        {"\"a = 1\"", '"' + QByteArray(32768, 'a') + '"', "Kurve 1, Legende: ist länger als"},
        {"\"#00ff00\"", "\"#12345\"", "Kurve 2, Farbe: \"#12345\" ist keine Farbe (#rrggbb)."},
        {"\"visible\": false", "\"visibl\": false",
         "Kurve 2, sichtbar: fehlt (Eintrag „visible“)."},
        {"\"precision\": 0.5", "\"precision\": -1", "Kurve 2, Rechengenauigkeit: muss eine Zahl"},
        {"SUM(x;1)", "SUM(x;y)", "Kurve 2, Gleichung \"SUM(x;y)\": Die Funktionsgleichung kann"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.named.toStdString());
        QByteArray bytes = c.to;
        if (!c.from.isEmpty()) {
            bytes = valid;
            ASSERT_GE(bytes.indexOf(c.from), 0);
            bytes.replace(bytes.indexOf(c.from), c.from.size(), c.to);
        }
        const WorksheetReadResult refused = ReadWorksheet(bytes);
        EXPECT_FALSE(refused.ok());
        EXPECT_TRUE(refused.error.contains(c.named)) << refused.error.toStdString();
    }
}

TEST(Worksheet, SavesOnlyWhatOpensAgain)
{
    QTemporaryDir dir;
    Worksheet sheet = randomSheet(9);
    QString error;
    const QString path = dir.filePath(QStringLiteral("blatt.lwa"));
    ASSERT_TRUE(SaveWorksheetFile(sheet, path, &error)) << error.toStdString();
    const QByteArray saved = WriteWorksheet(sheet);
    EXPECT_EQ(WriteWorksheet(*ReadWorksheetFile(path).sheet), saved);

    const QString nowhere = dir.filePath(QStringLiteral("fehlt/blatt.lwa"));
    EXPECT_FALSE(SaveWorksheetFile(sheet, nowhere, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("gibt es nicht"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(nowhere));
    EXPECT_EQ(ReadWorksheetFile(nowhere).error, QStringLiteral("Die Datei gibt es nicht."));

    sheet.curves[1].precision = 0;
    EXPECT_FALSE(SaveWorksheetFile(sheet, path, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Kurve 2, Rechengenauigkeit")))
        << error.toStdString();
    EXPECT_EQ(WriteWorksheet(*ReadWorksheetFile(path).sheet), saved);
}

} // namespace
} // namespace lw
