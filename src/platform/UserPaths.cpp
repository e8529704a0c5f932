#include "platform/UserPaths.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace quillet {

TUserPaths::TUserPaths()
    : m_getEnv([](std::string_view name) -> std::optional<std::string> {
        const char* value = std::getenv(std::string(name).c_str());
        if (value == nullptr) {
            return std::nullopt;
        }
        return std::string(value);
    })
{
}

TUserPaths::TUserPaths(TGetEnv getEnv)
    : m_getEnv(std::move(getEnv))
{
}

std::filesystem::path TUserPaths::Home() const
{
    const auto home = m_getEnv("HOME");
    if (home && !home->empty()) {
        return *home;
    }
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return std::filesystem::temp_directory_path();
}

// Relative values of the XDG variables are invalid and ignored, as the base
// directory rules require.
std::filesystem::path TUserPaths::BaseDir(std::string_view variable, std::string_view fallbackBelowHome) const
{
    const auto value = m_getEnv(variable);
    if (value && !value->empty() && value->front() == '/') {
        return *value;
    }
    return Home() / fallbackBelowHome;
}

std::filesystem::path TUserPaths::ConfigHome() const
{
    return BaseDir("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path TUserPaths::SettingsFile() const
{
    return ConfigHome() / "Norvane" / "Quillet.ini";
}

std::filesystem::path TUserPaths::DataHome() const
{
    return BaseDir("XDG_DATA_HOME", ".local/share");
}

std::filesystem::path TUserPaths::DataFolder() const
{
    return DataHome() / "Norvane" / "Quillet";
}

std::filesystem::path TUserPaths::RuntimeFolder() const
{
    const auto value = m_getEnv("XDG_RUNTIME_DIR");
    if (value && !value->empty() && value->front() == '/') {
        return *value;
    }
    std::error_code ec;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    return ec ? std::filesystem::path("/tmp") : temp;
}

} // namespace quillet
