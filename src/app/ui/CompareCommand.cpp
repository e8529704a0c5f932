#include "app/ui/CompareCommand.h"

#include "app/CommandTable.h"
#include "app/ui/CommandBindings.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/DocumentManagerSettings.h"
#include "app/ui/OpenDialog.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/SelectCodePageForm.h"
#include "compare/ui/CompareForm.h"
#include "core/SettingsStore.h"
#include "text/ui/ChildForm.h"

namespace quillet {

void BindCompareCommand(TQuilletMainForm& form, TDocumentManager& documents, const TSyntaxContext& syntax)
{
    form.SetCompareWindow([] {
        return static_cast<QWidget*>(TCompareForm::Instance());
    });
    // An open compare window follows the main window into a new language.
    QObject::connect(&form, &TQuilletMainForm::LanguageChanged, &form, [] {
        if (TCompareForm* compare = TCompareForm::Instance()) {
            compare->Retranslate();
        }
    });
    form.Commands().Bind("SearchDifferences", [&form, &documents, syntax] {
        TCompareContext context;
        context.mainWindow = &form;
        context.Documents = [&documents] {
            return documents.Forms();
        };
        context.ActiveDocument = [&form] {
            return CurrentTextDocument(form.MdiArea());
        };
        context.fileFilter = documents.SaveFilter();
        context.ChooseFile = [](QWidget* parent, const std::string& filter) -> std::optional<TCompareFile> {
            const std::optional<TOpenChoice> choice = TOpenDialog::ExecOpen(parent, filter);
            if (!choice || choice->files.empty()) {
                return std::nullopt;
            }
            return TCompareFile{choice->files.front(), choice->codePageIndex};
        };
        context.NewDocument = [&documents](int codePageIndex) {
            documents.New();
            TChildForm* document = documents.ActiveForm();
            if (document != nullptr) {
                document->SetCodePage(codePageIndex, CodePageName(codePageIndex));
            }
            return document;
        };
        context.syntax = syntax;
        context.viewSettings = NactiMemoProperty(Settings());
        TCompareForm::SearchDifferences(context);
    });
}

} // namespace quillet
