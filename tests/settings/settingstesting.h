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

inline QLocale germanLocale()
{
    return QLocale(QLocale::German, QLocale::Germany);
}

inline QLocale englishLocale()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

} // namespace lw::settingstest
