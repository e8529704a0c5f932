#include "hex/HexSettings.h"

#include "core/SettingsStore.h"

#include <algorithm>

namespace quillet {

namespace {

constexpr std::string_view kSection = "HexEditor";

std::uint32_t ReadColor(TSettingsStore& store, std::string_view key, std::uint32_t fallback)
{
    return static_cast<std::uint32_t>(store.ReadInteger(kSection, key, static_cast<std::int32_t>(fallback)));
}

} // namespace

THexSettings ReadHexSettings(TSettingsStore& store)
{
    THexSettings s;
    const int lineSize = store.ReadInteger(kSection, "LineSize", s.lineSize);
    if (lineSize >= 1 && lineSize <= 256) {
        s.lineSize = lineSize;
    }
    const int columnWidth = store.ReadInteger(kSection, "ColumnWidth", s.columnWidth);
    s.columnWidth = columnWidth >= 1 && columnWidth <= s.lineSize ? columnWidth : std::min(2, s.lineSize);
    const int display = store.ReadInteger(kSection, "OffsetDisplay", 0);
    s.offsetDisplay = display >= 0 && display <= 3 ? static_cast<TOffsetDisplay>(display) : odHex;
    s.background = ReadColor(store, "Background", s.background);
    s.changedBackground = ReadColor(store, "ChangedBackground", s.changedBackground);
    s.changedText = ReadColor(store, "ChangedText", s.changedText);
    s.cursorFrame = ReadColor(store, "CursorFrame", s.cursorFrame);
    s.evenColumn = ReadColor(store, "EvenColumn", s.evenColumn);
    s.oddColumn = ReadColor(store, "OddColumn", s.oddColumn);
    s.offset = ReadColor(store, "Offset", s.offset);
    s.drawSpecialSymbols = store.ReadBool(kSection, "HexDrawSpecialSymbols", s.drawSpecialSymbols);
    return s;
}

void WriteHexSettings(TSettingsStore& store, const THexSettings& s)
{
    store.WriteInteger(kSection, "ColumnWidth", s.columnWidth);
    store.WriteInteger(kSection, "LineSize", s.lineSize);
    store.WriteInteger(kSection, "OffsetDisplay", s.offsetDisplay);
    store.WriteInteger(kSection, "Background", static_cast<std::int32_t>(s.background));
    store.WriteInteger(kSection, "ChangedBackground", static_cast<std::int32_t>(s.changedBackground));
    store.WriteInteger(kSection, "ChangedText", static_cast<std::int32_t>(s.changedText));
    store.WriteInteger(kSection, "CursorFrame", static_cast<std::int32_t>(s.cursorFrame));
    store.WriteInteger(kSection, "EvenColumn", static_cast<std::int32_t>(s.evenColumn));
    store.WriteInteger(kSection, "OddColumn", static_cast<std::int32_t>(s.oddColumn));
    store.WriteInteger(kSection, "Offset", static_cast<std::int32_t>(s.offset));
    store.WriteBool(kSection, "HexDrawSpecialSymbols", s.drawSpecialSymbols);
}

} // namespace quillet
