// The settings store reading a damaged or hostile settings file in both forms:
// every read succeeds or gives the default, listing never fails, and a value
// written reads back after the file is saved and read again.
#include "FuzzSupport.h"
#include "core/SettingsStore.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::Bytes(data, size);
    const std::filesystem::path file = fuzz::WriteScratch("Quillet.ini", text);
    for (const TSettingsForm form : {TSettingsForm::ProgramIni, TSettingsForm::PerUser}) {
        TSettingsStore store(file, form);
        for (const std::string& section : store.ReadSections()) {
            store.SectionExists(section);
            for (const std::string& key : store.ReadSection(section)) {
                store.ReadString(section, key, "");
                store.ReadInteger(section, key, 7);
                store.ReadBool(section, key, true);
            }
            store.ReadSectionValues(section);
        }
        std::int32_t number = 0;
        TSettingsStore::ParseInteger(text.substr(0, 64), form, number);
    }
    {
        TSettingsStore store(file, TSettingsForm::PerUser);
        const std::string value(text.substr(0, 200));
        if (store.WriteString("Fuzz\\Nested", "Key", value)) {
            TSettingsStore reread(file, TSettingsForm::PerUser);
            fuzz::Check(reread.ReadString("Fuzz\\Nested", "Key", "<none>") == value, "a written value reads back");
        }
        store.EraseSection("Fuzz");
    }
    return 0;
}
