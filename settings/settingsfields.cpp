// SPDX-License-Identifier: GPL-3.0-or-later

#include "settingsfields.h"

#include "formula/numbertext.h"

#include <QLocale>

#include <cmath>
#include <type_traits>

namespace lw {

namespace {

template<typename T>
constexpr std::size_t
    memberIndex = FieldMember(static_cast<T GraphSettingsRecord::*>(nullptr)).index();

constexpr bool kindMatchesMember(const SettingsField &field)
{
    switch (field.kind) {
    case FieldKind::Colour: return field.member.index() == memberIndex<Colour>;
    case FieldKind::Int16: return field.member.index() == memberIndex<int16_t>;
    case FieldKind::Float: return field.member.index() == memberIndex<float>;
    case FieldKind::Truth: return field.member.index() == memberIndex<bool>;
    }
    return false;
}

constexpr bool tableIsConsistent()
{
    for (const SettingsField &field : SettingsFields) {
        if (!kindMatchesMember(field) || field.minimum > field.maximum)
            return false;
    }
    return true;
}
static_assert(tableIsConsistent(), "a field's kind must match the type of its member");

enum class FloatReading { Store, Lenient };

QLocale writingLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

// A group separator would turn a German "0.5" into 5.
QLocale readingLocale(const QLocale &locale)
{
    QLocale reading = locale;
    reading.setNumberOptions(QLocale::RejectGroupSeparator);
    return reading;
}

std::optional<double> readDouble(const QLocale &locale, const QString &text)
{
    bool ok = false;
    const double value = readingLocale(locale).toDouble(text, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<double> readDecimal(const QString &text, FloatReading reading, const QLocale &locale)
{
    std::optional<double> value = readDouble(locale, text);
    if (!value && reading == FloatReading::Lenient) {
        QString pointed = text;
        pointed.replace(QLatin1Char(','), QLatin1Char('.'));
        value = readDouble(QLocale::c(), pointed);
    }
    return value;
}

std::optional<double> readFloatNumber(const QString &text, FloatReading reading,
                                      const QLocale &locale = QLocale())
{
    const std::optional<double> value = readDecimal(text, reading, locale);
    if (!value)
        return std::nullopt;
    // Rounded first so that a text just above the largest float still reads as that float.
    return static_cast<double>(static_cast<float>(*value));
}

std::optional<double> readIntegerNumber(const QString &text)
{
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return static_cast<double>(value);
}

std::optional<double> readTruthNumber(const QString &text, bool strict)
{
    std::optional<bool> value;
    if (!strict)
        value = ReadTruthText(text);
    else if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        value = true;
    else if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        value = false;
    if (!value)
        return std::nullopt;
    return *value ? 1.0 : 0.0;
}

std::optional<double> readFieldNumber(const SettingsField &field, const QString &text,
                                      const FieldReading &how)
{
    switch (field.kind) {
    case FieldKind::Colour:
    case FieldKind::Int16: return readIntegerNumber(text);
    case FieldKind::Float:
        return readFloatNumber(
            text, how.lenientDecimals ? FloatReading::Lenient : FloatReading::Store, how.locale);
    case FieldKind::Truth: return readTruthNumber(text, how.strictTruth);
    }
    return std::nullopt;
}

} // namespace

const SettingsField *FindSettingsField(QStringView name)
{
    for (const SettingsField &field : SettingsFields) {
        if (name.compare(QLatin1String(field.name), Qt::CaseInsensitive) == 0)
            return &field;
    }
    return nullptr;
}

QString Int16Text(int16_t value)
{
    return QString::number(value);
}

std::optional<int16_t> ReadInt16Text(const QString &text)
{
    const std::optional<double> value = readIntegerNumber(text);
    if (!value || *value < INT16_MIN || *value > INT16_MAX)
        return std::nullopt;
    return static_cast<int16_t>(*value);
}

QString FloatText(float value)
{
    const QLocale locale = writingLocale();
    const QLocale reading = readingLocale(locale);
    // Seven digits give the familiar "0,1"; nine always read back the same float.
    for (int digits = 7; digits < 9; ++digits) {
        const QString text = locale.toString(static_cast<double>(value), 'g', digits);
        bool ok = false;
        if (static_cast<float>(reading.toDouble(text, &ok)) == value && ok)
            return text;
    }
    return locale.toString(static_cast<double>(value), 'g', 9);
}

std::optional<float> ReadFloatText(const QString &text)
{
    const std::optional<double> value = readFloatNumber(text, FloatReading::Store);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return static_cast<float>(*value);
}

std::optional<double> ReadNumberTextLenient(const QString &text, const QLocale &locale)
{
    const std::optional<double> value = readDecimal(text, FloatReading::Lenient, locale);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

std::optional<float> ReadFloatTextLenient(const QString &text, const QLocale &locale)
{
    const std::optional<double> value = readFloatNumber(text, FloatReading::Lenient, locale);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return static_cast<float>(*value);
}

QString DecimalText(double value, int decimals)
{
    const QString point = writingLocale().decimalPoint();
    return QString::fromStdU16String(
        FixedDecimalText(value, decimals, point.isEmpty() ? u'.' : point.front().unicode()));
}

QString GroupedNumber(long long value)
{
    QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u' ');
    return value < 0 ? u'-' + digits : digits;
}

QString TruthText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<bool> ReadTruthText(const QString &text)
{
    const QString word = text.trimmed();
    for (const char *truth : {"True", "Wahr"}) {
        if (word.compare(QLatin1String(truth), Qt::CaseInsensitive) == 0)
            return true;
    }
    for (const char *falsehood : {"False", "Falsch"}) {
        if (word.compare(QLatin1String(falsehood), Qt::CaseInsensitive) == 0)
            return false;
    }
    bool ok = false;
    const int number = word.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return number != 0;
}

QString FieldText(const GraphSettingsRecord &record, const SettingsField &field)
{
    return std::visit(
        [&](auto member) {
            const auto value = record.*member;
            using Value = std::remove_const_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, bool>)
                return TruthText(value);
            else if constexpr (std::is_same_v<Value, float>)
                return FloatText(value);
            else
                return QString::number(value);
        },
        field.member);
}

FieldRead ReadFieldText(GraphSettingsRecord &record, const SettingsField &field,
                        const QString &text, const FieldReading &how)
{
    const std::optional<double> value = readFieldNumber(field, text, how);
    // Written so that NaN fails too.
    if (!value || !(*value >= field.minimum && *value <= field.maximum))
        return FieldRead::Unreadable;
    if (field.positive && how.positiveRequired && !(*value > 0))
        return FieldRead::NotPositive;
    std::visit(
        [&](auto member) {
            using Value = std::remove_reference_t<decltype(record.*member)>;
            record.*member = static_cast<Value>(*value);
        },
        field.member);
    return FieldRead::Stored;
}

bool SetSettingsField(GraphSettingsRecord &record, QStringView name, const QString &text)
{
    const SettingsField *field = FindSettingsField(name);
    return field
           && ReadFieldText(record, *field, text,
                            {.lenientDecimals = true, .positiveRequired = false})
                  == FieldRead::Stored;
}

} // namespace lw
