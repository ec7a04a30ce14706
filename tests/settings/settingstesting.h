#pragma once

#include "formula/messagehook.h"
#include "tests/support/qstringprint.h"

#include <QLocale>

#include <vector>

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

// Collects every message instead of showing it, until destroyed.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    std::vector<Message> messages;
};

} // namespace lw::settingstest
