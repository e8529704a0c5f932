#pragma once

#include "app/DocumentOpener.h"
#include "core/AppTitle.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// A switch is an argument beginning with "-". (A "/" would make every
// absolute path a switch.)
bool IsSwitchArgument(std::string_view argument);

// True when some argument is "-" + name, name compared without regard to case.
bool SwitchPassed(const std::vector<std::string>& arguments, std::string_view name);

// The start directory: cwd with "/" appended when it does not end with one.
std::string MakeStartDirectory(std::string_view cwd);

// The argument list handed to OtevriDosleSoubory and to a running instance:
// a bare file name (not a switch, no "/") gets the start directory prefixed;
// every other argument is kept as given.
std::vector<std::string> BuildArgumentList(const std::vector<std::string>& arguments, std::string_view startDirectory);

// The code page functions the switches need; the program passes the real
// ones, tests their own.
struct TCodePageFunctions {
    std::function<int(std::string_view)> cpFromId; // charset identifier -> code page
    std::function<int(int)> cpIndex; // code page -> list index
    std::function<int()> defaultCp; // list index of the system code page
};

// Opens the files of an argument list and interprets its switches, in list
// order. The state (hex, allhex, allcodepage, code page index) starts afresh
// for every run.
class TArgumentRun {
public:
    explicit TArgumentRun(TCodePageFunctions codePages);

    void OtevriDosleSoubory(const std::vector<std::string>& items, IDocumentOpener& opener);
    // Interprets one switch (or an empty item).
    void IsCommand(std::string_view item);

    bool Hex() const { return m_hex; }
    bool AllHex() const { return m_allHex; }
    bool AllCodePage() const { return m_allCodePage; }
    int CodePageIndex() const { return m_codePageIndex; }

private:
    void Reset();

    TCodePageFunctions m_codePages;
    bool m_hex = false;
    bool m_allHex = false;
    bool m_allCodePage = false;
    int m_codePageIndex = 0;
};

} // namespace quillet
