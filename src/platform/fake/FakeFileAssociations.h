#pragma once

#include "platform/IFileAssociations.h"

namespace quillet {

// Records removals; a test can make the removal fail.
class TFakeFileAssociations : public IFileAssociations {
public:
    bool RemoveAll(std::string& error) override
    {
        ++removeCalls;
        if (!failure.empty()) {
            error = failure;
            return false;
        }
        return true;
    }

    int removeCalls = 0;
    std::string failure; // non-empty: RemoveAll fails with this reason
};

} // namespace quillet
