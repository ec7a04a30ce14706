// SPDX-License-Identifier: GPL-3.0-or-later

#include "parameternote.h"

#include "settings/settingsfields.h"

#include <QStringList>

#include <bit>

namespace lw {

namespace {

// "a", "a und b", "a, b und c".
QString listOfLetters(unsigned letters)
{
    QStringList names;
    for (int row = 0; row < ParameterCount; ++row) {
        if (letters & (1u << row))
            names << QString(QChar(u'a' + row));
    }
    if (names.size() < 2)
        return names.join(QString());
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" und ") + last;
}

} // namespace

bool IsParameterValue(const QString &text)
{
    return text.trimmed().isEmpty() || ReadNumberTextLenient(text).has_value();
}

QString ParameterNote(std::u16string_view formula, const VariableValues &values)
{
    const unsigned unset = UnsuppliedParameters(formula, values);
    const unsigned used = UnsuppliedParameters(formula, VariableValues{});
    unsigned notNumbers = 0;
    for (int row = 0; row < ParameterCount; ++row) {
        if ((used & ~unset & (1u << row))
            && !IsParameterValue(QString::fromStdU16String(values.values[row])))
            notNumbers |= 1u << row;
    }
    QStringList sentences;
    if (unset) {
        const bool one = std::has_single_bit(unset);
        sentences << listOfLetters(unset)
                         + (one ? QStringLiteral(" ist nicht gesetzt und zählt als 0.")
                                : QStringLiteral(" sind nicht gesetzt und zählen als 0."));
    }
    if (unset & (1u << 4))
        sentences << QStringLiteral("e ist ein Parameter; für die Eulersche Zahl schreiben Sie "
                                    "exp(x).");
    if (notNumbers) {
        sentences << (std::has_single_bit(notNumbers)
                          ? QStringLiteral("Der Wert von %1 ist keine Zahl.")
                          : QStringLiteral("Die Werte von %1 sind keine Zahlen."))
                         .arg(listOfLetters(notNumbers));
    }
    if (sentences.isEmpty())
        return {};
    return QStringLiteral("Hinweis: ") + sentences.join(u' ');
}

} // namespace lw
