#include "app/UserActionSettings.h"

#include "core/SettingsStore.h"

namespace quillet {

namespace {

constexpr const char* kSection = "User Actions";

std::string Key(int index, const char* field)
{
    return "Action" + std::to_string(index + 1) + field;
}

} // namespace

TUserActionList ReadUserActions(TSettingsStore& store)
{
    TUserActionList actions;
    for (int i = 0; i < kUserActionCount; ++i) {
        TUserActionFields& a = actions[static_cast<std::size_t>(i)];
        a.command = store.ReadString(kSection, Key(i, "Command"), "");
        a.params = store.ReadString(kSection, Key(i, "Params"), "");
        a.caption = store.ReadString(kSection, Key(i, "Caption"), "");
        a.startIn = store.ReadString(kSection, Key(i, "StartIn"), "");
        a.save = store.ReadIntegerInRange(kSection, Key(i, "Save"), 0, 0, 2);
        a.useDosNames = store.ReadBool(kSection, Key(i, "UseDOSNames"), false);
        a.captureOutput = store.ReadBool(kSection, Key(i, "CaptureOutput"), false);
        a.outParserRule = store.ReadString(kSection, Key(i, "OutParserRule"), "");
        a.clearResult = store.ReadBool(kSection, Key(i, "ClearResult"), false);
        a.scrollResult = store.ReadBool(kSection, Key(i, "ScrollResult"), false);
    }
    return actions;
}

bool WriteUserActions(TSettingsStore& store, const TUserActionList& actions)
{
    TSettingsBatch batch(store);
    bool ok = true;
    for (int i = 0; i < kUserActionCount; ++i) {
        const TUserActionFields& a = actions[static_cast<std::size_t>(i)];
        ok = store.WriteString(kSection, Key(i, "Command"), a.command) && ok;
        ok = store.WriteString(kSection, Key(i, "Params"), a.params) && ok;
        ok = store.WriteString(kSection, Key(i, "Caption"), a.caption) && ok;
        ok = store.WriteString(kSection, Key(i, "StartIn"), a.startIn) && ok;
        ok = store.WriteInteger(kSection, Key(i, "Save"), a.save) && ok;
        ok = store.WriteBool(kSection, Key(i, "UseDOSNames"), a.useDosNames) && ok;
        ok = store.WriteBool(kSection, Key(i, "CaptureOutput"), a.captureOutput) && ok;
        ok = store.WriteString(kSection, Key(i, "OutParserRule"), a.outParserRule) && ok;
        ok = store.WriteBool(kSection, Key(i, "ClearResult"), a.clearResult) && ok;
        ok = store.WriteBool(kSection, Key(i, "ScrollResult"), a.scrollResult) && ok;
    }
    return ok;
}

} // namespace quillet
