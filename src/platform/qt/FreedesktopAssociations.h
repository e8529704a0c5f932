#pragma once

#include "platform/IFileAssociations.h"
#include "platform/UserPaths.h"

#include <string_view>

namespace quillet {

// File associations on a freedesktop desktop. Quillet's entries are the
// desktop files "norvane-quillet*.desktop" in the user's applications folder
// and their names in the user's "mimeapps.list" files; removal deletes those
// files and names and nothing else, and rewrites a list only when it changed
// (through a temporary file and a rename).
class TFreedesktopAssociations : public IFileAssociations {
public:
    explicit TFreedesktopAssociations(TUserPaths paths);
    bool RemoveAll(std::string& error) override;

    static constexpr std::string_view kDesktopFilePrefix = "norvane-quillet";

    // A mimeapps.list text without Quillet's entries; lines that list only
    // Quillet are dropped, everything else is kept byte for byte.
    static std::string WithoutOurEntries(std::string_view text);

private:
    TUserPaths m_paths;
};

} // namespace quillet
