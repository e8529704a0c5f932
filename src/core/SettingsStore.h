#pragma once

#include "core/IniDocument.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Which read rules the store applies. The file format is INI text for both;
// they differ in how numbers and Booleans are read and in how section names
// with "\" nest.
enum class TSettingsForm {
    // The INI file beside the program: integers may be written in hex ("0x1F",
    // "$1F"); a Boolean is true for any number but 0. Sections are flat.
    ProgramIni,
    // The per-user store: integers only as decimal text; a Boolean is true
    // exactly for "1". A "\" in a section name makes a nested section: listing
    // shows the top level, erasing a section erases what is below it.
    PerUser,
};

// The program's configuration: two-level addressing (section, key), every
// value kept as text. Reads never fail (a failure gives the caller's default);
// writes return false when a name is refused or the file cannot be saved.
//
// The file is re-read when another process changed it, and every write is
// saved through a temporary file in the same folder (flushed, fsync'ed, then
// renamed over the old file), so a crash never leaves a half-written store.
// Inside a TSettingsBatch the writes are collected and saved once at its end.
class TSettingsStore {
public:
    // An empty path gives a store that lives in memory only.
    TSettingsStore(std::filesystem::path file, TSettingsForm form);
    ~TSettingsStore();
    TSettingsStore(const TSettingsStore&) = delete;
    TSettingsStore& operator=(const TSettingsStore&) = delete;

    TSettingsForm Form() const { return m_form; }
    const std::filesystem::path& FilePath() const { return m_file; }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue);
    // Integers beyond 32 bits are not a number and give the default.
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue);
    // ReadInteger, with a result outside [minimum, maximum] clamped into it.
    std::int32_t ReadIntegerInRange(std::string_view section,
        std::string_view key,
        std::int32_t defaultValue,
        std::int32_t minimum,
        std::int32_t maximum);
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue);

    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    bool WriteBool(std::string_view section, std::string_view key, bool value);

    bool SectionExists(std::string_view section);
    std::vector<std::string> ReadSection(std::string_view section);
    std::vector<std::string> ReadSections();
    // Names of the sections directly below `section` ("Position\X" gives
    // "X"), each once, in file order. In the ProgramIni form, where sections
    // are flat, only names holding no further backslash count.
    std::vector<std::string> ReadSubsections(std::string_view section);
    // "key=value" texts of a section.
    std::vector<std::string> ReadSectionValues(std::string_view section);
    bool EraseSection(std::string_view section);

    // Batching: writes between BeginBatch and the matching EndBatch are saved
    // once, by the outermost EndBatch. Returns whether that save succeeded.
    void BeginBatch();
    bool EndBatch();
    // Saves pending writes now. True when nothing was pending or the save
    // succeeded; a failed save keeps the changes pending for the next try.
    bool Flush();

    // Why the last save or load failed, as "file: reason"; empty after success.
    const std::string& LastError() const { return m_lastError; }

    // Parses integer text by the rules of the given form; false when the text
    // is not a 32-bit number.
    static bool ParseInteger(std::string_view text, TSettingsForm form, std::int32_t& result);

private:
    struct TFileStamp {
        bool exists = false;
        std::uintmax_t size = 0;
        std::int64_t mtimeNs = 0;
        std::uint64_t inode = 0;
        bool operator==(const TFileStamp&) const = default;
    };

    void Refresh();
    bool Changed();
    std::string NormalizeSection(std::string_view section) const;
    static TFileStamp Stamp(const std::filesystem::path& file);

    std::filesystem::path m_file;
    TSettingsForm m_form;
    TIniDocument m_doc;
    TFileStamp m_stamp;
    bool m_loaded = false;
    bool m_readFailed = false; // the file exists but could not be read: never overwrite it
    bool m_dirty = false;
    int m_batchDepth = 0;
    std::string m_lastError;
};

// Groups the writes of a scope into one save.
class TSettingsBatch {
public:
    explicit TSettingsBatch(TSettingsStore& store)
        : m_store(store)
    {
        m_store.BeginBatch();
    }
    ~TSettingsBatch() { m_store.EndBatch(); }
    TSettingsBatch(const TSettingsBatch&) = delete;
    TSettingsBatch& operator=(const TSettingsBatch&) = delete;

private:
    TSettingsStore& m_store;
};

// The one store of the run. Until SetGlobalSettings is called it is an
// in-memory store, so early readers get their defaults.
TSettingsStore& Settings();
void SetGlobalSettings(std::unique_ptr<TSettingsStore> store);

// Chooses the store for this run: the program's own INI file (program path
// with its extension replaced by ".ini") when it exists and is writable by this
// user, otherwise perUserFile.
std::unique_ptr<TSettingsStore> ChooseSettingsStore(
    const std::filesystem::path& programPath, const std::filesystem::path& perUserFile);

} // namespace quillet
