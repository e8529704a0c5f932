#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// Where the per-user files live, following the freedesktop base directories.
// The environment is read through a function so tests can supply their own.
class TUserPaths {
public:
    using TGetEnv = std::function<std::optional<std::string>(std::string_view name)>;

    TUserPaths(); // the process environment
    explicit TUserPaths(TGetEnv getEnv);

    // $XDG_CONFIG_HOME/Norvane/Quillet.ini (default ~/.config/Norvane/Quillet.ini).
    std::filesystem::path SettingsFile() const;
    // $XDG_DATA_HOME/Norvane/Quillet (default ~/.local/share/Norvane/Quillet).
    std::filesystem::path DataFolder() const;
    // $XDG_CONFIG_HOME (default ~/.config).
    std::filesystem::path ConfigHome() const;
    // $XDG_DATA_HOME (default ~/.local/share).
    std::filesystem::path DataHome() const;
    // Folder for the instance socket and its lock: $XDG_RUNTIME_DIR when set,
    // else the temporary folder.
    std::filesystem::path RuntimeFolder() const;
    std::filesystem::path Home() const;

private:
    std::filesystem::path BaseDir(std::string_view variable, std::string_view fallbackBelowHome) const;
    TGetEnv m_getEnv;
};

} // namespace quillet
