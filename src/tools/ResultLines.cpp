#include "tools/ResultLines.h"

#include <algorithm>
#include <charconv>

namespace quillet {

namespace {

constexpr std::string_view kEllipsis = "...";

std::optional<int> ParseNumber(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string FindResultLine(std::string_view fileName,
    std::size_t line,
    std::size_t column,
    std::size_t length,
    std::string_view lineText,
    bool endsOnLaterLine)
{
    std::string out;
    out.reserve(fileName.size() + 2 * kDisplayContext + std::min(length, kDisplayMatchLimit) + 40);
    AppendFindResultHead(out, fileName, line, column);
    AppendFindResultText(out, column, length, lineText, endsOnLaterLine);
    return out;
}

void AppendFindResultHead(std::string& out, std::string_view fileName, std::size_t line, std::size_t column)
{
    out.append(fileName);
    out += '(';
    out += std::to_string(line + 1);
    out += ':';
    out += std::to_string(column + 1);
    out += "): ";
}

void AppendFindResultText(
    std::string& out, std::size_t column, std::size_t length, std::string_view lineText, bool endsOnLaterLine)
{
    column = std::min(column, lineText.size());
    length = std::min(length, lineText.size() - column);
    const std::size_t before = column > kDisplayContext ? column - kDisplayContext : 0;
    if (before > 0) {
        out += kEllipsis;
    }
    out.append(lineText.substr(before, column - before));
    out += kBoldOn;
    if (length > kDisplayMatchLimit) {
        out.append(lineText.substr(column, kDisplayMatchLimit));
        out += kEllipsis;
    } else {
        out.append(lineText.substr(column, length));
    }
    const std::size_t end = column + length;
    const std::size_t after = std::min(lineText.size(), end + kDisplayContext);
    if (!endsOnLaterLine) {
        out += kBoldOff;
    }
    out.append(lineText.substr(end, after - end));
    if (after < lineText.size()) {
        out += kEllipsis;
    }
    if (endsOnLaterLine) {
        out += kBoldOff;
    }
}

std::string NavigationRecordText(std::size_t column, std::size_t line, std::string_view fileName)
{
    std::string out = std::to_string(column);
    out += ';';
    out += std::to_string(line);
    out += ';';
    out.append(fileName);
    return out;
}

std::optional<TNavigationTarget> ParseNavigationRecord(std::string_view record)
{
    if (record.empty()) {
        return std::nullopt;
    }
    TNavigationTarget target;
    const std::size_t first = record.find(';');
    target.column = ParseNumber(record.substr(0, first)).value_or(-1);
    if (first == std::string_view::npos) {
        return target;
    }
    const std::size_t second = record.find(';', first + 1);
    target.line = ParseNumber(record.substr(first + 1, second - first - 1)).value_or(-1);
    if (second != std::string_view::npos) {
        target.fileName = std::string(record.substr(second + 1));
    }
    return target;
}

std::string StripMarkers(std::string_view displayLine)
{
    std::string out;
    out.reserve(displayLine.size());
    AppendStripped(out, displayLine);
    return out;
}

void AppendStripped(std::string& out, std::string_view displayLine)
{
    std::size_t pos = 0;
    while (pos < displayLine.size()) {
        const std::size_t mark = displayLine.find("[(", pos);
        if (mark == std::string_view::npos) {
            out.append(displayLine.substr(pos));
            break;
        }
        out.append(displayLine.substr(pos, mark - pos));
        const std::string_view rest = displayLine.substr(mark);
        if (rest.starts_with(kBoldOn) || rest.starts_with(kBoldOff)) {
            pos = mark + kBoldOn.size();
        } else {
            out += "[(";
            pos = mark + 2;
        }
    }
}

std::vector<TDisplayRow> LayoutDisplayLine(std::string_view displayLine)
{
    std::vector<TDisplayRow> rows(1);
    bool bold = false;
    std::string run;
    auto flush = [&] {
        if (!run.empty()) {
            rows.back().push_back({std::move(run), bold});
            run.clear();
        }
    };
    for (std::size_t i = 0; i < displayLine.size();) {
        const std::string_view rest = displayLine.substr(i);
        if (rest.starts_with(kBoldOn) || rest.starts_with(kBoldOff)) {
            flush();
            bold = rest.starts_with(kBoldOn);
            i += kBoldOn.size();
        } else if (rest.starts_with("\r\n")) {
            flush();
            rows.emplace_back();
            i += 2;
        } else {
            run += displayLine[i++];
        }
    }
    flush();
    return rows;
}

} // namespace quillet
