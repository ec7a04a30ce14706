// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <utility>

class QSettings;

namespace lw {

// Where LoadOptions and SaveOptions keep their texts: one text per section and name.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // nullopt when nothing was ever written under this name.
    virtual std::optional<QString> read(const QString &section, const QString &name) const = 0;
    virtual void write(const QString &section, const QString &name, const QString &text) = 0;
    // Makes what was written permanent; false when that failed.
    virtual bool flush() { return true; }
};

class MemorySettingsStore : public SettingsStore {
public:
    std::optional<QString> read(const QString &section, const QString &name) const override;
    void write(const QString &section, const QString &name, const QString &text) override;

    void remove(const QString &section, const QString &name);
    std::size_t size() const { return m_values.size(); }

private:
    std::map<std::pair<QString, QString>, QString> m_values;
};

// An INI file; sections are INI groups.
class QSettingsStore : public SettingsStore {
public:
    // The user's store: Linienwerk2/Linienwerk2.ini in the user's configuration folder.
    QSettingsStore();
    explicit QSettingsStore(const QString &iniFileName);
    ~QSettingsStore() override;

    std::optional<QString> read(const QString &section, const QString &name) const override;
    void write(const QString &section, const QString &name, const QString &text) override;
    bool flush() override;

    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};

// The store the argument-less LoadOptions and SaveOptions use; nullptr reinstalls the user's
// store. The installed store must outlive its use.
void SetSettingsStore(SettingsStore *store);
SettingsStore &CurrentSettingsStore();

} // namespace lw
