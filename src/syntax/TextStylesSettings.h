#pragma once

namespace quillet {

class TSettingsStore;
struct TMemoViewSettings;

// Reads into settings what the text styles own among the view settings: the
// colour-syntax, URL and special-symbol switches ("General"), line separators
// and the current-line highlight ("Display") and the editor font ("Color
// Scheme"). Missing or unusable values give the defaults; other fields of
// settings are left as they are.
void ReadTextStylesViewSettings(TSettingsStore& store, TMemoViewSettings& settings);
// Writes the same keys back.
bool WriteTextStylesViewSettings(TSettingsStore& store, const TMemoViewSettings& settings);

} // namespace quillet
