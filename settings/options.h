#pragma once

namespace lw {

class SettingsStore;

// Fills GraphSettings from the store; warns first when the store was never saved completely.
void LoadOptions();
void LoadOptions(const SettingsStore &store);
// Writes the marker and every field of GraphSettings to the store; false
// when the store could not be written.
bool SaveOptions();
bool SaveOptions(SettingsStore &store);

} // namespace lw
