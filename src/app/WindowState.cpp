#include "app/WindowState.h"

#include "core/SettingsStore.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quillet {

namespace {

constexpr std::string_view kPosition = "Position";

// Half of a difference, halves rounded to even (the default rounding mode).
int HalfRoundedToEven(std::int64_t difference)
{
    return static_cast<int>(std::nearbyint(static_cast<double>(difference) / 2.0));
}

std::int64_t Right(const TRect& r)
{
    return std::int64_t{r.left} + r.width;
}

std::int64_t Bottom(const TRect& r)
{
    return std::int64_t{r.top} + r.height;
}

std::int64_t OverlapArea(const TRect& a, const TRect& b)
{
    const std::int64_t width = std::min(Right(a), Right(b)) - std::max<std::int64_t>(a.left, b.left);
    const std::int64_t height = std::min(Bottom(a), Bottom(b)) - std::max<std::int64_t>(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

// Distance on one axis from a point to the interval [low, high); 0 inside.
std::int64_t AxisDistance(std::int64_t point, std::int64_t low, std::int64_t high)
{
    if (point < low) {
        return low - point;
    }
    if (point >= high) {
        return point - high + 1;
    }
    return 0;
}

// Squared distance from the centre of the bounds to a screen, in doubles so
// that any 32-bit coordinates fit.
double DistanceToScreen(const TRect& bounds, const TRect& screen)
{
    const std::int64_t cx = bounds.left + std::max<std::int64_t>(bounds.width, 0) / 2;
    const std::int64_t cy = bounds.top + std::max<std::int64_t>(bounds.height, 0) / 2;
    const auto dx = static_cast<double>(AxisDistance(cx, screen.left, Right(screen)));
    const auto dy = static_cast<double>(AxisDistance(cy, screen.top, Bottom(screen)));
    return dx * dx + dy * dy;
}

std::int64_t Clamp(std::int64_t value, std::int64_t low, std::int64_t high)
{
    return std::max(low, std::min(value, high));
}

} // namespace

TRect CentredBounds(const TRect& screen, int designedWidth, int designedHeight)
{
    return {static_cast<int>(screen.left + std::int64_t{HalfRoundedToEven(std::int64_t{screen.width} - designedWidth)}),
        static_cast<int>(screen.top + std::int64_t{HalfRoundedToEven(std::int64_t{screen.height} - designedHeight)}),
        designedWidth,
        designedHeight};
}

TPositionState ReadPositionState(TSettingsStore& store, const TRect& defaultBounds)
{
    TPositionState state;
    state.mainBounds.left = store.ReadInteger(kPosition, "MainLeft", defaultBounds.left);
    state.mainBounds.top = store.ReadInteger(kPosition, "MainTop", defaultBounds.top);
    state.mainBounds.width = store.ReadInteger(kPosition, "MainWidth", defaultBounds.width);
    state.mainBounds.height = store.ReadInteger(kPosition, "MainHeight", defaultBounds.height);
    state.mainMaximized = store.ReadInteger(kPosition, "MainState", 0) == 1;
    const int child = store.ReadInteger(kPosition, "ChildState", 1);
    state.childState = child >= 0 && child <= 2 ? static_cast<TChildState>(child) : TChildState::Maximized;
    return state;
}

bool WritePositionState(TSettingsStore& store, const TPositionState& state)
{
    store.BeginBatch();
    store.WriteInteger(kPosition, "MainLeft", state.mainBounds.left);
    store.WriteInteger(kPosition, "MainTop", state.mainBounds.top);
    store.WriteInteger(kPosition, "MainWidth", state.mainBounds.width);
    store.WriteInteger(kPosition, "MainHeight", state.mainBounds.height);
    store.WriteInteger(kPosition, "MainState", state.mainMaximized ? 1 : 0);
    store.WriteInteger(kPosition, "ChildState", static_cast<int>(state.childState));
    return store.EndBatch();
}

TAsciiTableState ReadAsciiTableState(TSettingsStore& store)
{
    TAsciiTableState state;
    state.open = store.ReadBool(kPosition, "AsciiTable", false);
    state.left = store.ReadInteger(kPosition, "AsciiTableLeft", 0);
    state.top = store.ReadInteger(kPosition, "AsciiTableTop", 0);
    return state;
}

bool WriteAsciiTableState(TSettingsStore& store, const TAsciiTableState& state)
{
    if (!state.created) {
        return true;
    }
    store.BeginBatch();
    store.WriteBool(kPosition, "AsciiTable", state.open);
    store.WriteInteger(kPosition, "AsciiTableLeft", state.left);
    store.WriteInteger(kPosition, "AsciiTableTop", state.top);
    return store.EndBatch();
}

TRect FitToScreens(const TRect& bounds, const std::vector<TRect>& screens, int minimumWidth, int minimumHeight)
{
    const int minWidth = std::max(minimumWidth, 1);
    const int minHeight = std::max(minimumHeight, 1);
    TRect result = bounds;
    result.width = std::max(result.width, minWidth);
    result.height = std::max(result.height, minHeight);

    const TRect* screen = nullptr;
    std::int64_t bestArea = 0;
    for (const TRect& s : screens) {
        if (s.width <= 0 || s.height <= 0) {
            continue;
        }
        if (const std::int64_t area = OverlapArea(result, s); area > bestArea) {
            bestArea = area;
            screen = &s;
        }
    }
    if (screen == nullptr) {
        double bestDistance = 0;
        for (const TRect& s : screens) {
            if (s.width <= 0 || s.height <= 0) {
                continue;
            }
            if (const double distance = DistanceToScreen(result, s); screen == nullptr || distance < bestDistance) {
                bestDistance = distance;
                screen = &s;
            }
        }
    }
    if (screen == nullptr) {
        return result;
    }

    // A screen smaller than the minimum gets a window of the screen's size.
    result.width = static_cast<int>(Clamp(result.width, std::min(minWidth, screen->width), screen->width));
    result.height = static_cast<int>(Clamp(result.height, std::min(minHeight, screen->height), screen->height));
    result.left = static_cast<int>(Clamp(result.left, screen->left, Right(*screen) - result.width));
    result.top = static_cast<int>(Clamp(result.top, screen->top, Bottom(*screen) - result.height));
    return result;
}

} // namespace quillet
