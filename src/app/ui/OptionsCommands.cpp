#include "app/ui/OptionsCommands.h"

#include "app/CommandTable.h"
#include "app/ui/CustomizeToolbarsForm.h"
#include "app/ui/OptionsForm.h"
#include "app/ui/QuilletMainForm.h"
#include "core/SettingsStore.h"

namespace quillet {

void BindOptionsCommands(TQuilletMainForm& form, const TOptionsContext& context)
{
    const auto bind = [&form, &context](std::string_view command, TOptionsPage page) {
        form.Commands().Bind(
            command,
            [context, page] {
                ShowOptionsDialog(context, page);
            },
            [](TCommandState& state) {
                state.enabled = true;
            });
    };
    bind("ConfigureOptions", TOptionsPage::Environment);
    bind("ConfigureFileAssociations", TOptionsPage::FileAssociations);
    bind("ToolsConfigureActions", TOptionsPage::UserActions);
    TSettingsStore* store = context.store;
    form.Commands().Bind(
        "ViewCustomize",
        [&form, store] {
            ShowCustomizeToolbars(form.MainToolbars(), store != nullptr ? *store : Settings(), &form);
        },
        [](TCommandState& state) {
            state.enabled = true;
        });
}

} // namespace quillet
