#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

class TSettingsStore;

// The desktop file that identifies Quillet to the desktop.
inline constexpr std::string_view kDesktopId = "norvane-quillet.desktop";

// The entry of mimeType in the group "[Default Applications]" of a
// mimeapps.list text, exactly as written (without the line end); nullopt when
// the group or the key is absent.
std::optional<std::string> DefaultApplicationEntry(std::string_view listText, std::string_view mimeType);
// The text with that entry set to value, or removed for nullopt. Every other
// byte stays as it was; a missing group is added at the end.
std::string WithDefaultApplicationEntry(
    std::string_view listText, std::string_view mimeType, const std::optional<std::string>& value);

// Where an installed desktop entry named desktopId is: the first
// "applications/<desktopId>" below dataHome and then the folders of
// dataDirs (":"-separated, as in $XDG_DATA_DIRS; empty means
// "/usr/local/share:/usr/share"). Empty when it is not installed.
std::filesystem::path FindDesktopEntry(
    std::string_view desktopId, const std::filesystem::path& dataHome, std::string_view dataDirs);

// Quillet's file associations in the user's mimeapps.list. Associating a
// type records the exact previous entry of that type (or that there was
// none) in the settings store, then puts our desktop id first. Releasing acts
// only while our id still leads the entry: the recorded entry comes back
// exactly, or the key goes when there was none. No other key and no other
// line of the file changes; the file is written through the safe writer.
class TMimeAppsAssociations {
public:
    TMimeAppsAssociations(std::filesystem::path listFile, std::string desktopId, TSettingsStore& store);

    const std::filesystem::path& ListFile() const { return m_listFile; }
    const std::string& DesktopId() const { return m_desktopId; }

    // Our id is the first desktop file of the type's default entry.
    bool IsOurs(std::string_view mimeType) const;
    // Associates the type and records the extension it was asked for. False
    // with "file: reason" when the list cannot be read or written.
    bool Associate(std::string_view extension, std::string_view mimeType, std::string& error);
    bool Release(std::string_view mimeType, std::string& error);
    // Releases every type recorded (the start with "-removefromregistry").
    bool ReleaseAll(std::string& error);
    // (extension, MIME type) of every extension associated through us and
    // not yet released, sorted by extension.
    std::vector<std::pair<std::string, std::string>> RecordedExtensions() const;

private:
    bool ReadList(std::string& text, std::string& error) const;
    bool WriteList(const std::string& text, std::string& error) const;
    void Forget(std::string_view mimeType);

    std::filesystem::path m_listFile;
    std::string m_desktopId;
    TSettingsStore& m_store;
};

} // namespace quillet
