#include "app/ui/FindInFilesBindings.h"

#include "app/CommandTable.h"
#include "app/ui/CommandBindings.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/QuilletMainForm.h"
#include "hex/HexText.h"
#include "text/ui/ChildForm.h"
#include "tools/ui/FindInFiles.h"
#include "tools/ui/ResultWindow.h"

#include <QMdiArea>

namespace quillet {

TFindInFilesParts BindFindInFiles(TQuilletMainForm& form, TDocumentManager& documents, IClipboard* clipboard)
{
    auto* results = new TResultWindow(&form);
    results->SetClipboard(clipboard);
    form.addDockWidget(Qt::BottomDockWidgetArea, results);
    results->hide();
    results->OnNewDocument = [&form, &documents](const std::string& text) {
        documents.New();
        if (TChildForm* document = CurrentTextDocument(form.MdiArea())) {
            document->MemoSource().Lines().SetText(text);
        }
    };
    QObject::connect(&form, &TQuilletMainForm::LanguageChanged, results, &TResultWindow::Translate);

    TFindInFilesHost host;
    host.documents = [&documents] {
        return documents.Forms();
    };
    host.activeDocument = [&form] {
        return CurrentTextDocument(form.MdiArea());
    };
    host.openFile = [&form](const std::string& fileName) -> TChildForm* {
        TOpenRequest request;
        request.fileName = fileName;
        if (!form.DocumentOpener().CreateMDIChild(request)) {
            return nullptr;
        }
        return CurrentTextDocument(form.MdiArea());
    };
    host.activate = [&form](TChildForm& document) {
        if (document.isMinimized()) {
            document.showNormal();
        }
        form.MdiArea()->setActiveSubWindow(&document);
    };
    host.fileTypeFilter = [&documents] {
        return documents.OpenFilter();
    };
    // Project members are typed by the 500-byte content test that adding
    // files to a project uses, not by the 50-byte probe of opening a file.
    host.isBinary = [](const std::string& fileName) {
        return IsHex(fileName);
    };
    auto* findInFiles = new TFindInFiles(*results, &form, std::move(host));

    form.Commands().Bind(
        "SearchFindFiles",
        [findInFiles] {
            findInFiles->Execute();
        },
        [findInFiles](TCommandState& state) {
            state.enabled = findInFiles->CanExecute();
        });
    form.Commands().Bind(
        "ViewResultWindow",
        [results] {
            results->setVisible(!results->isVisible());
        },
        [results](TCommandState& state) {
            state.enabled = true;
            state.checked = results->isVisible();
        });
    return {results, findInFiles};
}

} // namespace quillet
