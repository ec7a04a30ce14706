// SPDX-License-Identifier: GPL-3.0-or-later

#include "settingsstore.h"

#include <QSettings>
#include <QStringList>

namespace lw {

namespace {
const QString OrganisationName = QStringLiteral("Linienwerk2");
const QString ApplicationName = QStringLiteral("Linienwerk2");

QString settingsKey(const QString &section, const QString &name)
{
    return section + QLatin1Char('/') + name;
}

SettingsStore *&installedStore()
{
    static SettingsStore *store = nullptr;
    return store;
}
} // namespace

std::optional<QString> MemorySettingsStore::read(const QString &section, const QString &name) const
{
    const auto found = m_values.find({section, name});
    if (found == m_values.end())
        return std::nullopt;
    return found->second;
}

void MemorySettingsStore::write(const QString &section, const QString &name, const QString &text)
{
    m_values[{section, name}] = text;
}

void MemorySettingsStore::remove(const QString &section, const QString &name)
{
    m_values.erase({section, name});
}

QSettingsStore::QSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             OrganisationName, ApplicationName))
{
    // Values of the organisation-wide and system files must not show through as the user's.
    m_settings->setFallbacksEnabled(false);
}

QSettingsStore::QSettingsStore(const QString &iniFileName)
    : m_settings(std::make_unique<QSettings>(iniFileName, QSettings::IniFormat))
{}

QSettingsStore::~QSettingsStore() = default;

std::optional<QString> QSettingsStore::read(const QString &section, const QString &name) const
{
    const QString key = settingsKey(section, name);
    if (!m_settings->contains(key))
        return std::nullopt;
    const QVariant value = m_settings->value(key);
    // A hand-edited, unquoted "0,1" comes back from the INI reader as a list.
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void QSettingsStore::write(const QString &section, const QString &name, const QString &text)
{
    m_settings->setValue(settingsKey(section, name), text);
}

bool QSettingsStore::flush()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString QSettingsStore::fileName() const
{
    return m_settings->fileName();
}

void SetSettingsStore(SettingsStore *store)
{
    installedStore() = store;
}

SettingsStore &CurrentSettingsStore()
{
    if (SettingsStore *store = installedStore())
        return *store;
    // Created on first use so that its Qt globals outlive it at exit.
    static QSettingsStore userStore;
    return userStore;
}

} // namespace lw
