#pragma once

#include <string>

namespace quillet {

// The desktop's file associations and the "open with" entry that Quillet
// registers for itself. Removal undoes exactly what Quillet added and leaves
// every other program's entries alone.
class IFileAssociations {
public:
    virtual ~IFileAssociations() = default;
    // True when everything Quillet had added is gone (also when there was
    // nothing); false with a reason naming the file and the OS error.
    virtual bool RemoveAll(std::string& error) = 0;
};

} // namespace quillet
