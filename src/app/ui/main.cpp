// Process entry: the start-up steps in their order, then the main window's
// event loop.
#include "app/CommandLine.h"
#include "app/CommandTable.h"
#include "app/InstanceHandover.h"
#include "app/MimeAppsAssociations.h"
#include "app/OpenFilesMessage.h"
#include "app/ui/BinaryDocuments.h"
#include "app/ui/CommandActions.h"
#include "app/ui/CommandBindings.h"
#include "app/ui/CompareCommand.h"
#include "app/ui/DocumentManager.h"
#include "app/ui/DocumentOpeners.h"
#include "app/ui/EditCommandBindings.h"
#include "app/ui/ExitAfterPaint.h"
#include "app/ui/FileCommands.h"
#include "app/ui/FindInFilesBindings.h"
#include "app/ui/MainMenus.h"
#include "app/ui/OptionsCommands.h"
#include "app/ui/ProjectManager.h"
#include "app/ui/QuilletMainForm.h"
#include "app/ui/ShellUi.h"
#include "app/ui/StateCommandBindings.h"
#include "app/ui/ToDoCommands.h"
#include "app/ui/UserActionCommands.h"
#include "core/CodePages.h"
#include "core/DocumentPrefetch.h"
#include "core/SettingsStore.h"
#include "core/Translations.h"
#include "platform/UserPaths.h"
#include "platform/qt/LocalInstanceChannel.h"
#include "platform/qt/QtClipboard.h"
#include "syntax/SchemeCatalog.h"
#include "syntax/TextStyles.h"
#include "text/ui/ClipboardSlots.h"
#include "text/ui/MemoStyles.h"
#include "text/ui/SyntaxAttach.h"
#include "tools/ui/FindInFiles.h"

#include <QApplication>
#include <QLocale>
#include <QMenu>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

using namespace quillet;

namespace {

// Files smaller than this load in a few milliseconds: not worth a thread.
constexpr std::uintmax_t kPrefetchMinBytes = 8u << 20;

std::vector<std::string> Arguments(int argc, char** argv)
{
    // argv after QApplication took its own options; kept as the file
    // system's bytes.
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    return arguments;
}

TCodePageFunctions RealCodePages()
{
    TCodePageFunctions functions;
    functions.cpFromId = [](std::string_view id) {
        return GetCPFromID(id);
    };
    functions.cpIndex = [](int codePage) {
        return GetCPIndex(codePage);
    };
    functions.defaultCp = [] {
        return GetDefaultCP();
    };
    return functions;
}

void ChooseCodePage()
{
    const char* env = std::getenv("QUILLET_CODEPAGE");
    const std::optional<std::string_view> envValue =
        env != nullptr ? std::optional<std::string_view>(env) : std::nullopt;
    SetSystemCodePage(ChooseSystemCodePage(envValue, QLocale::system().name().toStdString()));
}

} // namespace

// The Syntax menu: one entry per definition before "None (Plain Text)", for
// the active text document.
static TSyntaxMenu* BindSyntaxMenu(TQuilletMainForm& form, const TSyntaxContext& syntax)
{
    const TMenuAnchor anchor = form.MainMenus().Anchor(QStringLiteral("SyntaxList"));
    QAction* none = form.CommandActions().Action("SyntaxNone");
    if (anchor.menu == nullptr || none == nullptr) {
        return nullptr;
    }
    auto* menu = new TSyntaxMenu(*anchor.menu, *none, syntax, &form);
    menu->ActiveForm = [&form] {
        return CurrentTextDocument(form.MdiArea());
    };
    menu->Rebuild();
    QObject::connect(anchor.menu, &QMenu::aboutToShow, menu, [menu] {
        menu->UpdateItems();
    });
    form.Commands().Bind(
        "SyntaxNone",
        [menu] {
            menu->ChooseNone();
        },
        [&form](TCommandState& state) {
            TChildForm* document = CurrentTextDocument(form.MdiArea());
            state.enabled = document != nullptr;
            state.checked = document != nullptr && DocumentSyntaxFile(*document).empty();
        });
    return menu;
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    QApplication::setApplicationVersion(QStringLiteral("4.1"));
    QApplication::setOrganizationName(QStringLiteral("Norvane"));
    const std::vector<std::string> arguments = Arguments(argc, argv);
    const TUserPaths paths;

    const std::filesystem::path program = ToFileName(QCoreApplication::applicationFilePath());
    SetGlobalSettings(ChooseSettingsStore(program, paths.SettingsFile()));
    TMimeAppsAssociations associations(paths.ConfigHome() / "mimeapps.list", std::string(kDesktopId), Settings());

    // Releasing the file associations is a run of its own, with no window.
    if (arguments.size() == 1 && SwitchPassed(arguments, "removefromregistry")) {
        std::string error;
        if (associations.ReleaseAll(error)) {
            return 0;
        }
        std::fprintf(stderr, "quillet: %s\n", error.c_str());
        ShowMessage(nullptr, QMessageBox::Critical, FromUtf8(error));
        return 1;
    }

    ChooseCodePage();
    Translator().SetLanguageFolders({paths.DataFolder() / "Languages", program.parent_path() / "Languages"});

    std::error_code ec;
    const std::string startDirectory = MakeStartDirectory(std::filesystem::current_path(ec).string());

    TLocalInstanceChannel channel(TLocalInstanceChannel::DefaultSocketPath(paths.RuntimeFolder().string()),
        kOpenFilesIdentifier,
        kOpenFilesMaxText);
    {
        TInstanceHandover handover(channel, Settings());
        if (handover.AlreadyRunning(arguments, startDirectory)) {
            return 1;
        }
        if (!handover.Error().empty()) {
            ShowMessage(nullptr, QMessageBox::Critical, FromUtf8(handover.Error()));
        }
        if (handover.ShouldListen()) {
            std::string error;
            if (!channel.Listen(error)) {
                std::fprintf(stderr, "quillet: later starts cannot reach this instance: %s\n", error.c_str());
            }
        } else {
            channel.Release();
        }
    }

    // A large file named first (before any switch that may make it a hex
    // document) is read on a second thread while the window is built;
    // opening it takes those bytes if the file is still the same.
    if (!arguments.empty() && !IsSwitchArgument(arguments.front())) {
        PrefetchDocument(arguments.front(), kPrefetchMinBytes);
    }

    // Shared by every document; declared before the main window so they
    // outlive it and its documents.
    TQtClipboard clipboard(FromSystemText, ToSystemText);
    TClipboardSlots clipboardSlots(&clipboard);
    TSchemeCatalog catalog({paths.DataFolder(), program.parent_path()});
    catalog.Load(Settings());
    TTextStyles textStyles;
    textStyles.ReadSettings(Settings());

    TQuilletMainForm form;
    form.SetCodePageFunctions(RealCodePages());
    // Owned by the main window; opens, saves and reloads its text documents.
    auto* documents = new TDocumentManager(form);
    form.SetDocumentOpener(documents);
    documents->SetClipboard(&clipboard);
    const TSyntaxContext syntax{&catalog, &textStyles, Tr, {}, {}};
    documents->SetSyntaxContext(syntax);
    TSyntaxMenu* syntaxMenu = BindSyntaxMenu(form, syntax);
    const TActiveTextDocument active = [&form] {
        return CurrentTextDocument(form.MdiArea());
    };
    BindEditCommands(form.Commands(), active, clipboardSlots);
    clipboardSlots.OnSlotsChanged = [&form, &clipboardSlots] {
        ApplyClipboardHints(form.CommandActions(), clipboardSlots);
    };
    // The file commands; Read Only replaces the plain toggle with the one that
    // offers to clear the file's read-only attribute.
    for (TFileCommand& command : FileCommands(*documents)) {
        form.Commands().Bind(
            command.name, command.execute, [update = command.update, checked = command.checked](TCommandState& state) {
                state.enabled = update();
                state.checked = checked && checked();
            });
    }
    std::unique_ptr<TLoggingDocumentOpener> testLog;
    if (const char* logFile = std::getenv("QUILLET_TEST_OPEN_LOG"); logFile != nullptr && *logFile != '\0') {
        testLog = std::make_unique<TLoggingDocumentOpener>(logFile);
        form.SetDocumentOpener(testLog.get());
    }
    TStateCommands& state = BindStateCommands(form, *documents);
    auto* projects = new TProjectManager(form, *documents, &state.Recent());
    BindProjectCommands(form, *documents, *projects);
    ConnectProjects(*documents, state, *projects);
    BindToDoCommands(form, *projects);
    TOptionsContext options;
    options.mainForm = &form;
    options.catalog = &catalog;
    options.textStyles = &textStyles;
    options.documents = documents;
    options.dataFolders = {paths.DataFolder(), program.parent_path()};
    options.associations = &associations;
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    options.desktopEntry = FindDesktopEntry(kDesktopId, paths.DataHome(), dataDirs != nullptr ? dataDirs : "");
    options.onSyntaxDefinitionsChanged = [&catalog, syntaxMenu] {
        catalog.Load(Settings());
        if (syntaxMenu != nullptr) {
            syntaxMenu->Rebuild();
        }
    };
    options.onUserActionsChanged = BindUserActionCaptions(form, Settings());
    BindOptionsCommands(form, options);
    // Find in files and the result window; the project choice searches the
    // open project's members.
    const TFindInFilesParts findInFiles = BindFindInFiles(form, *documents, &clipboard);
    ConnectFindInFiles(*findInFiles.findInFiles, *projects);
    BindCompareCommand(form, *documents, syntax);
    // Binary documents take over the commands while a binary window is active.
    auto* binaries = new TBinaryDocuments(form, *documents);
    binaries->SetClipboard(&clipboard);
    binaries->SetTextStyles(&textStyles);
    binaries->SetClipboardSlots(&clipboardSlots);
    binaries->BindCommands(form.Commands());
    channel.SetHandler([&form](std::string_view message) {
        return form.WMCopyData(message);
    });

    TExitAfterPaint::InstallWhenAsked();
    form.show();
    form.RunStartup(arguments, startDirectory);
    DropPrefetchedDocument(); // not opened as a text document after all
    const int result = QApplication::exec();
    channel.SetHandler(nullptr);
    Settings().Flush();
    return result == 0 ? 0 : result;
}
