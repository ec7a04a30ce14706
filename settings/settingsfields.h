// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "graphsettings.h"

#include <QLocale>
#include <QString>
#include <QStringView>

#include <array>
#include <cfloat>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

namespace lw {

enum class FieldKind { Colour, Int16, Float, Truth };

using FieldMember = std::variant<Colour GraphSettingsRecord::*, int16_t GraphSettingsRecord::*,
                                 float GraphSettingsRecord::*, bool GraphSettingsRecord::*>;

struct SettingsField {
    const char *name; // the record's member name, also the value's name in the store
    FieldKind kind;
    FieldMember member;
    double minimum; // the lowest value a stored text may give; unused for truth values
    double maximum;
    // A scale or step of 0 or less draws nothing and says nothing, so stored settings and graph
    // files may not hold one; a command line may, and is refused with its own reason.
    bool positive = false;
};

inline constexpr double ColourMaximum = 16777215; // blue, green, red; the top byte stays 0
inline constexpr std::size_t SettingsFieldCount = 18;

// In the order in which the fields are stored, loaded and saved.
inline constexpr std::array<SettingsField, SettingsFieldCount> SettingsFields = {{
    {"GraphColor", FieldKind::Colour, &GraphSettingsRecord::GraphColor, 0, ColourMaximum},
    {"GraphNumberColor", FieldKind::Colour, &GraphSettingsRecord::GraphNumberColor, 0,
     ColourMaximum},
    {"LiveColor", FieldKind::Colour, &GraphSettingsRecord::LiveColor, 0, ColourMaximum},
    {"GraphScaleX", FieldKind::Int16, &GraphSettingsRecord::GraphScaleX, INT16_MIN, INT16_MAX,
     true},
    {"GraphScaleY", FieldKind::Int16, &GraphSettingsRecord::GraphScaleY, INT16_MIN, INT16_MAX,
     true},
    {"ScreenCentralX", FieldKind::Int16, &GraphSettingsRecord::ScreenCentralX, INT16_MIN,
     INT16_MAX},
    {"ScreenCentralY", FieldKind::Int16, &GraphSettingsRecord::ScreenCentralY, INT16_MIN,
     INT16_MAX},
    {"OriginX", FieldKind::Int16, &GraphSettingsRecord::OriginX, INT16_MIN, INT16_MAX},
    {"OriginY", FieldKind::Int16, &GraphSettingsRecord::OriginY, INT16_MIN, INT16_MAX},
    {"PutMarkEachX", FieldKind::Int16, &GraphSettingsRecord::PutMarkEachX, INT16_MIN, INT16_MAX},
    {"PutMarkEachY", FieldKind::Int16, &GraphSettingsRecord::PutMarkEachY, INT16_MIN, INT16_MAX},
    {"PutNumberEachX", FieldKind::Int16, &GraphSettingsRecord::PutNumberEachX, INT16_MIN,
     INT16_MAX},
    {"PutNumberEachY", FieldKind::Int16, &GraphSettingsRecord::PutNumberEachY, INT16_MIN,
     INT16_MAX},
    {"CalcFrom", FieldKind::Float, &GraphSettingsRecord::CalcFrom, -FLT_MAX, FLT_MAX},
    {"CalcTo", FieldKind::Float, &GraphSettingsRecord::CalcTo, -FLT_MAX, FLT_MAX},
    {"Precision", FieldKind::Float, &GraphSettingsRecord::Precision, -FLT_MAX, FLT_MAX, true},
    {"LinkPoints", FieldKind::Truth, &GraphSettingsRecord::LinkPoints, 0, 1},
    {"AlwaysDeleteGraph", FieldKind::Truth, &GraphSettingsRecord::AlwaysDeleteGraph, 0, 1},
}};

// nullptr for a name that is no field; the case of the letters does not matter.
const SettingsField *FindSettingsField(QStringView name);

// The field of a name written in the code, found while compiling, so a misspelt name does not
// build.
consteval const SettingsField &SettingsFieldNamed(std::string_view name)
{
    for (const SettingsField &field : SettingsFields) {
        if (std::string_view(field.name) == name)
            return field;
    }
    throw "no settings field of this name";
}

template<std::size_t N>
consteval std::array<const SettingsField *, N>
SettingsFieldsNamed(const std::string_view (&names)[N])
{
    std::array<const SettingsField *, N> fields{};
    for (std::size_t i = 0; i < N; ++i)
        fields[i] = &SettingsFieldNamed(names[i]);
    return fields;
}

// Text forms of the store. Readers return nullopt for a text that is not of the type or
// lies outside its range.
QString Int16Text(int16_t value);
std::optional<int16_t> ReadInt16Text(const QString &text);
// The user's number format, without group separators, as few digits as read back the same float.
QString FloatText(float value);
std::optional<float> ReadFloatText(const QString &text);
// For files and command lines written elsewhere: the number format of `locale`, and failing that
// a "." or a "," as the decimal point.
std::optional<float> ReadFloatTextLenient(const QString &text, const QLocale &locale = QLocale());
// The same reading in double, for values shown with more digits than a float holds.
std::optional<double> ReadNumberTextLenient(const QString &text, const QLocale &locale = QLocale());
// A value with at most `decimals` decimals in the user's number format, without trailing zeros
// or group separators: "1,25", "-3".
QString DecimalText(double value, int decimals);
// A whole number in groups of three digits, as a message writes it: "100 000".
QString GroupedNumber(long long value);
QString TruthText(bool value);
// "True"/"False", "Wahr"/"Falsch" in any case, or an integer (0 is false).
std::optional<bool> ReadTruthText(const QString &text);

QString FieldText(const GraphSettingsRecord &record, const SettingsField &field);

// How a text is read into a field: the settings store's way unless told otherwise. Graph files,
// the options dialog and the command line each say what they do differently.
struct FieldReading {
    QLocale locale = QLocale();   // the number format of decimals
    bool lenientDecimals = false; // failing that, "." or "," as the decimal point
    bool strictTruth = false;     // "True" or "False" only, in any case, as graph files hold them
    bool positiveRequired = true; // a field that must be positive refuses 0 and below
};
enum class FieldRead {
    Stored,
    Unreadable,  // no value of the field's type, or outside its range
    NotPositive, // read, but 0 or less where the field must be positive
};
// Stores the value a text gives; anything but Stored leaves the record unchanged.
FieldRead ReadFieldText(GraphSettingsRecord &record, const SettingsField &field,
                        const QString &text, const FieldReading &how = {});
// The command line's FIELD=VALUE: lenient about the decimal point; false for an unknown name or a
// bad value, which leave the record unchanged.
bool SetSettingsField(GraphSettingsRecord &record, QStringView name, const QString &text);

} // namespace lw
