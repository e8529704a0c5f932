#pragma once

#include <array>
#include <string>

namespace quillet {

class TSettingsStore;

// One user action as the section "User Actions" keeps it (keys "Action" + n
// + the field name, n from 1 to 14).
struct TUserActionFields {
    std::string command;
    std::string params;
    std::string caption;
    std::string startIn;
    int save = 0; // 0 the active document, 1 all documents, 2 nothing
    bool useDosNames = false;
    bool captureOutput = false;
    std::string outParserRule;
    bool clearResult = false;
    bool scrollResult = false;
    bool operator==(const TUserActionFields&) const = default;
};

inline constexpr int kUserActionCount = 14;
using TUserActionList = std::array<TUserActionFields, kUserActionCount>;

TUserActionList ReadUserActions(TSettingsStore& store);
// Writes all 140 keys, each action in the order Command, Params, Caption,
// StartIn, Save, UseDOSNames, CaptureOutput, OutParserRule, ClearResult,
// ScrollResult.
bool WriteUserActions(TSettingsStore& store, const TUserActionList& actions);

} // namespace quillet
