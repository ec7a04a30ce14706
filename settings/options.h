// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace lw {

class SettingsStore;

struct GraphSettingsRecord;

// The settings the store holds, the defaults standing in for what is missing or unreadable.
GraphSettingsRecord StoredOptions(const SettingsStore &store);
GraphSettingsRecord StoredOptions();

// Fills GraphSettings from the store. When the store was never saved completely, the notice to
// show (the defaults stand in for what is missing); otherwise empty. A store without any of the
// settings is a first start: no notice, and the argument-less form writes the defaults there.
bool HoldsNoOptions(const SettingsStore &store);
QString LoadOptions();
QString LoadOptions(const SettingsStore &store);
// Writes the marker and every field of GraphSettings to the store; false
// when the store could not be written.
bool SaveOptions();
bool SaveOptions(SettingsStore &store);

} // namespace lw
