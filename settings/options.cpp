// SPDX-License-Identifier: GPL-3.0-or-later

#include "options.h"

#include "graphsettings.h"
#include "settingsfields.h"
#include "settingsstore.h"

namespace lw {

namespace {
const QString OptionsSection = QStringLiteral("Options");
const QString CheckName = QStringLiteral("Check");

int16_t readCheck(const SettingsStore &store)
{
    const std::optional<QString> text = store.read(OptionsSection, CheckName);
    return text ? ReadInt16Text(*text).value_or(0) : 0;
}

QString incompleteStoreNotice()
{
    return QString::fromUtf16(
        u"In den gespeicherten Einstellungen sind fehlerhafte oder fehlende Daten von Linienwerk. Sie "
        u"können das Problem beheben, indem Sie im Dialogfeld 'Schaubild-Einstellungen' auf "
        u"'Speichern' klicken. Es werden jetzt falls notwendig die Standardwerte benutzt.");
}
} // namespace

// Not a value of the program's settings in the store: the program's first start.
bool HoldsNoOptions(const SettingsStore &store)
{
    if (store.read(OptionsSection, CheckName))
        return false;
    for (const SettingsField &field : SettingsFields) {
        if (store.read(OptionsSection, QLatin1String(field.name)))
            return false;
    }
    return true;
}

QString LoadOptions()
{
    SettingsStore &store = CurrentSettingsStore();
    const bool firstStart = HoldsNoOptions(store);
    const QString notice = LoadOptions(store);
    // What an installer would have put there: the defaults, without a word.
    if (firstStart)
        SaveOptions(store);
    return notice;
}

GraphSettingsRecord StoredOptions(const SettingsStore &store)
{
    // Absent and unreadable values both keep the default the record starts with.
    GraphSettingsRecord stored;
    for (const SettingsField &field : SettingsFields) {
        if (const std::optional<QString> text =
                store.read(OptionsSection, QLatin1String(field.name)))
            ReadFieldText(stored, field, *text);
    }
    return stored;
}

GraphSettingsRecord StoredOptions()
{
    return StoredOptions(CurrentSettingsStore());
}

QString LoadOptions(const SettingsStore &store)
{
    GraphSettings = StoredOptions(store);
    return readCheck(store) == 0 && !HoldsNoOptions(store) ? incompleteStoreNotice() : QString();
}

bool SaveOptions()
{
    return SaveOptions(CurrentSettingsStore());
}

bool SaveOptions(SettingsStore &store)
{
    // The marker goes first: a save that stops part-way still counts as complete.
    store.write(OptionsSection, CheckName, QStringLiteral("1"));
    for (const SettingsField &field : SettingsFields)
        store.write(OptionsSection, QLatin1String(field.name), FieldText(GraphSettings, field));
    return store.flush();
}

} // namespace lw
