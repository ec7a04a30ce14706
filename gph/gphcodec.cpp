// SPDX-License-Identifier: GPL-3.0-or-later

#include "gphcodec.h"

#include "formula/charclasses.h"
#include "settings/settingsfields.h"

#include <QFile>
#include <QFileInfo>
#include <QList>

#include <array>

namespace lw {

namespace {

constexpr char16_t Undefined = 0;

// Windows-1252 from 0x80 to 0x9F; the rest of its upper half is Latin-1.
constexpr std::array<char16_t, 32> Cp1252High{
    0x20AC,    Undefined, 0x201A, 0x0192, 0x201E, 0x2026,    0x2020, 0x2021,
    0x02C6,    0x2030,    0x0160, 0x2039, 0x0152, Undefined, 0x017D, Undefined,
    Undefined, 0x2018,    0x2019, 0x201C, 0x201D, 0x2022,    0x2013, 0x2014,
    0x02DC,    0x2122,    0x0161, 0x203A, 0x0153, Undefined, 0x017E, 0x0178,
};

// Lines 4 to 18, in their order in the file.
constexpr auto GphFields = SettingsFieldsNamed(
    {"Precision", "ScreenCentralX", "ScreenCentralY", "OriginX", "OriginY", "PutMarkEachX",
     "PutMarkEachY", "PutNumberEachX", "PutNumberEachY", "CalcFrom", "CalcTo", "GraphScaleX",
     "GraphScaleY", "LinkPoints", "AlwaysDeleteGraph"});
constexpr int FirstFieldLine = 4;

// What the equation line may hold; the writer turns anything else into "?".
bool isTextByte(uchar byte)
{
    if (byte < 0x20)
        return byte == '\t';
    if (byte == 0x7F)
        return false;
    return byte < 0x80 || byte >= 0xA0 || Cp1252High[byte - 0x80] != Undefined;
}

char encodeCodePoint(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return isTextByte(static_cast<uchar>(code)) ? static_cast<char>(code) : '?';
    for (std::size_t i = 0; i < Cp1252High.size(); ++i) {
        if (Cp1252High[i] != Undefined && Cp1252High[i] == code)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

QByteArray encodeCp1252(const QString &text)
{
    QByteArray bytes;
    for (const char32_t code : text.toUcs4())
        bytes.append(encodeCodePoint(code));
    return bytes;
}

QString decodeCp1252(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = static_cast<uchar>(byte);
        if (value >= 0x80 && value < 0xA0)
            text.append(Cp1252High[value - 0x80] != Undefined ? QChar(Cp1252High[value - 0x80])
                                                              : QChar(QChar::ReplacementCharacter));
        else
            text.append(QChar(value));
    }
    return text;
}

// ----- writing

// Digits Windows-1252 cannot hold would make the file unreadable, so such locales write C's form.
bool isPlainNumber(const QString &text)
{
    for (const QChar c : text) {
        if (!detail::isDigit(c.unicode()) && !QStringView(u".,+-eE").contains(c))
            return false;
    }
    return true;
}

QString floatNumberText(float value, const QLocale &locale)
{
    QLocale writing = locale;
    writing.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString text = writing.toString(static_cast<double>(value), 'g', 7);
    return isPlainNumber(text) ? text : QLocale::c().toString(static_cast<double>(value), 'g', 7);
}

// One blank before unless there is a sign, one after.
QString numberLine(const QString &number)
{
    return (number.startsWith(u'-') ? number : u' ' + number) + u' ';
}

QString fieldLine(const GraphSettingsRecord &settings, const SettingsField &field,
                  const QLocale &locale)
{
    switch (field.kind) {
    case FieldKind::Truth: return FieldText(settings, field);
    case FieldKind::Float:
        return numberLine(floatNumberText(
            settings.*std::get<float GraphSettingsRecord::*>(field.member), locale));
    case FieldKind::Colour:
    case FieldKind::Int16: break;
    }
    return numberLine(FieldText(settings, field));
}

// ----- reading

QList<QByteArrayView> splitLines(QByteArrayView bytes, int wanted)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < bytes.size() && lines.size() < wanted) {
        const char byte = bytes[i];
        if (byte != '\r' && byte != '\n') {
            ++i;
            continue;
        }
        lines.append(bytes.sliced(start, i - start));
        i += (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    // Text after the last line end is one more line.
    if (start < bytes.size() && lines.size() < wanted)
        lines.append(bytes.sliced(start));
    return lines;
}

GphError lineError(int line, const QString &expected)
{
    return {line, QStringLiteral("Zeile %1: erwartet wird %2.").arg(line).arg(expected)};
}

QString expectedValue(const SettingsField &field)
{
    const QString name = QLatin1String(field.name);
    switch (field.kind) {
    case FieldKind::Float:
        if (field.positive)
            return QStringLiteral("eine Dezimalzahl größer als 0 (%1)").arg(name);
        return QStringLiteral("eine Dezimalzahl (%1)").arg(name);
    case FieldKind::Truth: return QStringLiteral("True oder False (%1)").arg(name);
    case FieldKind::Colour:
    case FieldKind::Int16: break;
    }
    if (field.positive)
        return QStringLiteral("eine ganze Zahl von 1 bis 32767 (%1)").arg(name);
    return QStringLiteral("eine ganze Zahl von -32768 bis 32767 (%1)").arg(name);
}

std::optional<GphError> checkEquation(QByteArrayView line)
{
    for (const char byte : line) {
        if (!isTextByte(static_cast<uchar>(byte)))
            return lineError(GphEquationLine,
                             QStringLiteral("die Gleichung als Text, nicht das Byte 0x%1")
                                 .arg(QString::number(static_cast<uchar>(byte), 16)
                                          .toUpper()
                                          .rightJustified(2, u'0')));
    }
    return std::nullopt;
}

GphReadResult failed(const GphError &error)
{
    return {std::nullopt, error};
}

GphError fileError(const QString &reason)
{
    return {0, reason};
}

GphReadResult tooLarge()
{
    return failed(
        fileError(QStringLiteral("Die Datei ist größer als 64 KiB und damit keine Graph-Datei.")));
}

} // namespace

QString GphTimeText(const QTime &time, const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString withoutZone;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            withoutZone.append(c);
    }
    return locale.toString(time, withoutZone.simplified());
}

std::optional<char32_t> FirstCharacterGphCannotHold(const QString &equation)
{
    for (const char32_t code : equation.toUcs4()) {
        if (code != U'?' && encodeCodePoint(code) == '?')
            return code;
    }
    return std::nullopt;
}

QByteArray WriteGph(const GraphSettingsRecord &settings, const QString &equation,
                    const QDateTime &now, const QLocale &locale)
{
    QStringList lines{QStringLiteral("DLinienwerk20==V2.00.00"),
                      locale.toString(now.date(), QLocale::ShortFormat),
                      GphTimeText(now.time(), locale)};
    for (const SettingsField *field : GphFields)
        lines.append(fieldLine(settings, *field, locale));
    lines.append(equation);
    lines.append(QString()); // line 20, which no reader looks at
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += encodeCp1252(line) + "\r\n";
    return bytes;
}

GphReadResult ReadGph(const QByteArray &bytes, const QLocale &locale)
{
    if (bytes.size() > GphMaximumSize)
        return tooLarge();
    const QList<QByteArrayView> lines = splitLines(bytes, GphMinimumLines);
    GphContent content;
    for (int line = 1; line <= GphMinimumLines; ++line) {
        if (line > lines.size())
            return failed({line, QStringLiteral("Zeile %1 fehlt: eine Graph-Datei hat mindestens "
                                                "%2 Zeilen.")
                                     .arg(line)
                                     .arg(GphMinimumLines)});
        if (line < FirstFieldLine)
            continue;
        const QByteArrayView text = lines[line - 1];
        if (line == GphEquationLine) {
            if (const std::optional<GphError> error = checkEquation(text))
                return failed(*error);
            content.equation = decodeCp1252(text);
            continue;
        }
        const SettingsField &field = *GphFields[static_cast<std::size_t>(line - FirstFieldLine)];
        // Graph files hold True or False, decimals in the writer's format or with "." or ",".
        if (ReadFieldText(content.settings, field, decodeCp1252(text).trimmed(),
                          {.locale = locale, .lenientDecimals = true, .strictTruth = true})
            != FieldRead::Stored)
            return failed(lineError(line, expectedValue(field)));
    }
    return {std::move(content), {}};
}

GphReadResult ReadGphFile(const QString &path, const QLocale &locale)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failed(fileError(QStringLiteral("Die Datei gibt es nicht.")));
    if (info.isDir())
        return failed(fileError(QStringLiteral("Das ist ein Ordner, keine Datei.")));
    if (info.size() > GphMaximumSize)
        return tooLarge();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(fileError(QStringLiteral("Die Datei kann nicht geöffnet werden.")));
    // One byte more than allowed, so that a file grown since the check is still refused.
    const QByteArray bytes = file.read(GphMaximumSize + 1);
    if (file.error() != QFileDevice::NoError)
        return failed(fileError(QStringLiteral("Die Datei kann nicht gelesen werden.")));
    return ReadGph(bytes, locale);
}

void ApplyGphSettings(const GphContent &content, GraphSettingsRecord &settings)
{
    const GraphSettingsRecord colours = settings;
    settings = content.settings;
    settings.GraphColor = colours.GraphColor;
    settings.GraphNumberColor = colours.GraphNumberColor;
    settings.LiveColor = colours.LiveColor;
}

} // namespace lw
