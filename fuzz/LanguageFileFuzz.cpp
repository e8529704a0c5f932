// Language files: any bytes load; every translated text filled with checked
// substitution keeps the English default's placeholders, so a hostile file
// can neither crash a message nor put more or other values into it.
#include "FuzzSupport.h"
#include "core/Translations.h"

using namespace quillet;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Translator().SetLanguageFolders({fuzz::ScratchFolder()});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::Bytes(data, size);
    fuzz::WriteScratch("Fuzz.lng", text);
    ResetLang("Fuzz.lng");
    // Keys of the file itself: the part before "=" of each line.
    std::size_t pos = 0;
    int lines = 0;
    while (pos < text.size() && lines++ < 64) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(pos, end - pos);
        const std::string_view key = line.substr(0, line.find('='));
        LangStr(key, "default");
        const std::string filled = LangFormat(key, "%s at (%d)", {"<name>", 42});
        // A Latin-1 file is read as UTF-8, at most doubling its text.
        fuzz::Check(filled.size() <= 2 * text.size() + 64, "a filled text holds only the file text and its values");
        pos = end + 1;
    }
    // The text itself as a pattern: placeholders that do not match the
    // default's give the default.
    const std::string pattern(text.substr(0, 256));
    const std::string result = FormatChecked(pattern, "%s is invalid mask at (%d)", {"p", 3});
    fuzz::Check(result.size() <= pattern.size() + 32, "checked substitution adds only the values");
    ResetLang("");
    return 0;
}
