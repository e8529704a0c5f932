#include "app/CommandLine.h"

#include "core/IniDocument.h"

namespace quillet {

bool IsSwitchArgument(std::string_view argument)
{
    return !argument.empty() && argument.front() == '-';
}

bool SwitchPassed(const std::vector<std::string>& arguments, std::string_view name)
{
    const std::string wanted = TIniDocument::Lower(name);
    for (const std::string& argument : arguments) {
        if (IsSwitchArgument(argument) && TIniDocument::Lower(std::string_view(argument).substr(1)) == wanted) {
            return true;
        }
    }
    return false;
}

std::string MakeStartDirectory(std::string_view cwd)
{
    std::string result(cwd);
    if (result.empty() || result.back() != '/') {
        result += '/';
    }
    return result;
}

std::vector<std::string> BuildArgumentList(const std::vector<std::string>& arguments, std::string_view startDirectory)
{
    std::vector<std::string> list;
    list.reserve(arguments.size());
    for (const std::string& argument : arguments) {
        if (!argument.empty() && !IsSwitchArgument(argument) && argument.find('/') == std::string::npos) {
            list.push_back(std::string(startDirectory) + argument);
        } else {
            list.push_back(argument);
        }
    }
    return list;
}

TArgumentRun::TArgumentRun(TCodePageFunctions codePages)
    : m_codePages(std::move(codePages))
{
    Reset();
}

void TArgumentRun::Reset()
{
    m_hex = false;
    m_allHex = false;
    m_allCodePage = false;
    m_codePageIndex = m_codePages.defaultCp ? m_codePages.defaultCp() : 0;
}

void TArgumentRun::OtevriDosleSoubory(const std::vector<std::string>& items, IDocumentOpener& opener)
{
    Reset();
    for (const std::string& item : items) {
        if (!item.empty() && !IsSwitchArgument(item)) {
            TOpenRequest request;
            request.fileName = item;
            request.codePageIndex = m_codePageIndex;
            request.asBinary = m_hex || m_allHex;
            opener.CreateMDIChild(request);
        } else {
            IsCommand(item);
        }
    }
}

void TArgumentRun::IsCommand(std::string_view item)
{
    const std::string name = item.empty() ? std::string() : TIniDocument::Lower(item.substr(1));
    m_hex = name == "hex";
    m_allHex = m_allHex || name == "allhex";
    if (m_allCodePage) {
        return;
    }
    const auto lookup = [this](std::string_view id) {
        if (!m_codePages.cpFromId || !m_codePages.cpIndex) {
            return 0;
        }
        return m_codePages.cpIndex(m_codePages.cpFromId(id));
    };
    constexpr std::string_view kCodePage = "codepage";
    if (name.rfind(kCodePage, 0) == 0) {
        m_codePageIndex = lookup(std::string_view(name).substr(kCodePage.size()));
    } else if (name.find(kCodePage) == 3) {
        // "all" + "codepage" + identifier
        m_allCodePage = true;
        m_codePageIndex = lookup(std::string_view(name).substr(3 + kCodePage.size()));
    } else {
        m_codePageIndex = m_codePages.defaultCp ? m_codePages.defaultCp() : 0;
    }
}

} // namespace quillet
