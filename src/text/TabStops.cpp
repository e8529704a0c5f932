#include "text/TabStops.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>

namespace quillet {

namespace {
int Saturate(std::int64_t v)
{
    return v > INT_MAX ? INT_MAX : static_cast<int>(v);
}
} // namespace

TTabStops::TTabStops()
{
    Parse("9,17");
}

bool TTabStops::Parse(std::string_view text, std::string* error)
{
    std::vector<int> stops;
    std::size_t pos = 0;
    bool ok = true;
    std::string_view trimmedAll = text;
    while (!trimmedAll.empty() && trimmedAll.front() == ' ') {
        trimmedAll.remove_prefix(1);
    }
    if (!trimmedAll.empty()) {
        while (pos <= text.size()) {
            std::size_t comma = text.find(',', pos);
            std::string_view item = text.substr(pos, comma == std::string_view::npos ? text.size() - pos : comma - pos);
            while (!item.empty() && item.front() == ' ') {
                item.remove_prefix(1);
            }
            while (!item.empty() && item.back() == ' ') {
                item.remove_suffix(1);
            }
            int value = 0;
            auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), value);
            if (item.empty() || ec != std::errc() || end != item.data() + item.size() || value <= 0
                || (!stops.empty() && value <= stops.back())) {
                ok = false;
                break;
            }
            stops.push_back(value);
            if (comma == std::string_view::npos) {
                break;
            }
            pos = comma + 1;
        }
    }
    if (!ok) {
        if (error) {
            *error = "Invalid Tab Rack";
        }
        return false;
    }
    if (stops.empty()) {
        stops.push_back(8);
    }
    m_stops = std::move(stops);
    m_interval = m_stops.size() >= 2 ? m_stops.back() - m_stops[m_stops.size() - 2] : m_stops.back();
    m_text = std::string(text);
    return true;
}

int TTabStops::NextStop(int col) const
{
    if (col < 0) {
        col = -1;
    }
    for (int s : m_stops) {
        if (s > col) {
            return s;
        }
    }
    std::int64_t last = m_stops.back();
    std::int64_t m = (static_cast<std::int64_t>(col) - last) / m_interval + 1;
    return Saturate(last + m * m_interval);
}

int TTabStops::StopAtOrAfter(int col) const
{
    return col <= 0 ? NextStop(col - 1) : NextStop(col - 1);
}

int TTabStops::PrevStop(int col) const
{
    int firstAtOrAfter = StopAtOrAfter(col);
    int prev = 0;
    // Walk the fixed list first; beyond it stops are evenly spaced.
    if (firstAtOrAfter <= m_stops.back()) {
        for (int s : m_stops) {
            if (s >= firstAtOrAfter) {
                break;
            }
            prev = s;
        }
        return prev;
    }
    return firstAtOrAfter - m_interval;
}

namespace tabs {

int DisplayLength(std::string_view raw, const TTabStops& stops)
{
    // Bytes between tabs take one column each; only the tabs need the stops.
    std::int64_t col = 0;
    std::size_t i = 0;
    while (i < raw.size()) {
        const void* tab = std::memchr(raw.data() + i, '\t', raw.size() - i);
        if (tab == nullptr) {
            col += static_cast<std::int64_t>(raw.size() - i);
            break;
        }
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(tab) - raw.data());
        col = stops.NextStop(Saturate(col + static_cast<std::int64_t>(at - i)));
        i = at + 1;
    }
    return Saturate(col);
}

int ColToRaw(std::string_view raw, int col, const TTabStops& stops, int* spanStart)
{
    if (col < 0) {
        col = 0;
    }
    int c = 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        int next = raw[i] == '\t' ? stops.NextStop(c) : Saturate(static_cast<std::int64_t>(c) + 1);
        if (col < next) {
            if (spanStart) {
                *spanStart = c;
            }
            return static_cast<int>(i);
        }
        c = next;
    }
    if (spanStart) {
        *spanStart = col;
    }
    return Saturate(static_cast<std::int64_t>(raw.size()) + (col - c));
}

int RawToCol(std::string_view raw, int idx, const TTabStops& stops)
{
    std::int64_t c = 0;
    std::size_t n = idx < 0 ? 0 : static_cast<std::size_t>(idx);
    std::size_t lim = n < raw.size() ? n : raw.size();
    for (std::size_t i = 0; i < lim; ++i) {
        c = raw[i] == '\t' ? stops.NextStop(Saturate(c)) : c + 1;
    }
    if (n > raw.size()) {
        c += static_cast<std::int64_t>(n - raw.size());
    }
    return Saturate(c);
}

std::string Expand(std::string_view raw, const TTabStops& stops)
{
    if (raw.find('\t') == std::string_view::npos) {
        return std::string(raw);
    }
    std::string out;
    out.reserve(raw.size() + 16);
    for (char c : raw) {
        if (c == '\t') {
            int next = stops.NextStop(static_cast<int>(out.size()));
            out.append(static_cast<std::size_t>(next) - out.size(), ' ');
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string ExpandStyle(std::string_view raw, std::string_view style, const TTabStops& stops)
{
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        char s = i < style.size() ? style[i] : '\0';
        if (raw[i] == '\t') {
            int next = stops.NextStop(static_cast<int>(out.size()));
            out.append(static_cast<std::size_t>(next) - out.size(), s);
        } else {
            out.push_back(s);
        }
    }
    return out;
}

} // namespace tabs

} // namespace quillet
