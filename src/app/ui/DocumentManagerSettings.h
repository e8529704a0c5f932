#pragma once

#include "text/MemoOptions.h"

namespace quillet {

class TSettingsStore;

// Line ends new documents write when the store has no "OutFormat": LF, as
// files on this platform end their lines (2 = Unix).
inline constexpr int kDefaultOutFormat = 2;

// Reads the editor settings every text document window gets: the "Display"
// and "General" keys of the view and the buffer, the text styles' switches and
// the editor font. Missing or unusable values give their defaults; numbers
// are kept within the ranges the views accept.
TMemoViewSettings NactiMemoProperty(TSettingsStore& store);

} // namespace quillet
