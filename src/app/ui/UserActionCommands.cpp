#include "app/ui/UserActionCommands.h"

#include "app/ui/CommandActions.h"
#include "app/ui/QuilletMainForm.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"

#include <QAction>

#include <string>

namespace quillet {

void ApplyUserActionCaptions(TCommandActions& actions, const TUserActionList& list)
{
    for (int n = 1; n <= kUserActionCount; ++n) {
        QAction* action = actions.Action("ToolsUserAction" + std::to_string(n));
        if (action == nullptr) {
            continue;
        }
        const std::string& own = list[static_cast<std::size_t>(n - 1)].caption;
        const QString caption = QString::fromStdString(
            own.empty() ? LangFormat("ToolsUserAction", "User Action %s", {std::to_string(n)}) : own);
        action->setText(caption);
        action->setToolTip(caption);
        action->setStatusTip(caption);
    }
}

std::function<void()> BindUserActionCaptions(TQuilletMainForm& form, TSettingsStore& store)
{
    TCommandActions& actions = form.CommandActions();
    const auto apply = [&actions, &store] {
        ApplyUserActionCaptions(actions, ReadUserActions(store));
    };
    apply();
    // The window's translation pass puts the table's captions back.
    QObject::connect(&form, &TQuilletMainForm::LanguageChanged, &form, apply);
    return apply;
}

} // namespace quillet
