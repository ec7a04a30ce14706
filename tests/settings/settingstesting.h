// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "tests/support/qstringprint.h"

#include <QLocale>

namespace lw::settingstest {

// Sets the process's default locale for the lifetime of the object.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale &locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_previous); }
    LocaleScope(const LocaleScope &) = delete;
    LocaleScope &operator=(const LocaleScope &) = delete;

private:
    QLocale m_previous;
};

// A number and its text for a German and for an American user.
struct LocalisedNumber {
    float value;
    const char *german;
    const char *english;
};

inline QLocale germanLocale()
{
    return QLocale(QLocale::German, QLocale::Germany);
}

inline QLocale englishLocale()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

} // namespace lw::settingstest
