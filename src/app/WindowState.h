#pragma once

#include <vector>

namespace quillet {

class TSettingsStore;

// A window's place on the desktop in pixels: the top-left corner and the size.
struct TRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const TRect&) const = default;
};

// State of document windows created from now on ([Position] "ChildState").
enum class TChildState { Normal = 0, Maximized = 1, Minimized = 2 };

// The main window and document window state kept in section "Position".
struct TPositionState {
    TRect mainBounds; // the normal (not maximized) bounds
    bool mainMaximized = false;
    TChildState childState = TChildState::Maximized;
};

// What the ASCII table window keeps between runs. `created` says whether the
// window existed during this run: only then are its keys written.
struct TAsciiTableState {
    bool created = false;
    bool open = false;
    int left = 0;
    int top = 0;
};

// Bounds of a window of the designed size centred on the screen: the offsets
// are (screen size - designed size) / 2, halves rounded to even.
TRect CentredBounds(const TRect& screen, int designedWidth, int designedHeight);

// Reads "MainLeft", "MainTop", "MainWidth", "MainHeight" (each falling back
// to defaultBounds), "MainState" (1: maximized) and "ChildState" (0 to 2,
// anything else the default 1). The bounds are as stored: fit them to the
// screens with FitToScreens before use.
TPositionState ReadPositionState(TSettingsStore& store, const TRect& defaultBounds);
// Writes the keys ReadPositionState reads, in one save.
bool WritePositionState(TSettingsStore& store, const TPositionState& state);

// [Position] "AsciiTable", "AsciiTableLeft", "AsciiTableTop"; `created` is
// false in what is read.
TAsciiTableState ReadAsciiTableState(TSettingsStore& store);
// Writes the three keys when the window was created during the run; does
// nothing (and returns true) otherwise, so a run that never showed the table
// keeps what the last one stored.
bool WriteAsciiTableState(TSettingsStore& store, const TAsciiTableState& state);

// Fits stored bounds onto the current screens (their available areas, the
// primary first) so the window can always be reached: the screen sharing the
// largest area with the bounds is chosen, or the one nearest to them when
// none does (bounds from a monitor no longer attached); the size is made at
// least the minimum and at most the screen; then the window is moved fully
// onto that screen. Any values, however far out, give a usable result.
// Without screens only the minimum size is applied.
TRect FitToScreens(const TRect& bounds, const std::vector<TRect>& screens, int minimumWidth, int minimumHeight);

} // namespace quillet
