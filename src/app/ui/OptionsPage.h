#pragma once

#include "app/OptionsCatalog.h"

#include <QString>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class QLineEdit;

namespace quillet {

class TMimeAppsAssociations;
class TDocumentManager;
class TQuilletMainForm;
class TSchemeCatalog;
class TSettingsStore;
class TTextStyles;

// What the options dialog works on and whom it tells after storing. Every
// pointer may be null (a test builds only what it needs); a null store means
// the program's store.
struct TOptionsContext {
    TQuilletMainForm* mainForm = nullptr;
    TSettingsStore* store = nullptr;
    TSchemeCatalog* catalog = nullptr;
    TTextStyles* textStyles = nullptr;
    TDocumentManager* documents = nullptr;
    // The data folders in search order: syntax definitions are found below them.
    std::vector<std::filesystem::path> dataFolders;
    // The user's file associations and the installed desktop entry that
    // names the program; without either the page is read-only.
    TMimeAppsAssociations* associations = nullptr;
    std::filesystem::path desktopEntry;
    // The syntax definitions were stored: rebuild the Syntax menu and the
    // file-type filter from the catalog.
    std::function<void()> onSyntaxDefinitionsChanged;
    // The user actions were stored: rebuild their commands.
    std::function<void()> onUserActionsChanged;
};

// One page of the options dialog. A page is built when first shown and
// reads its controls from the store then; pages never shown store nothing.
class TOptionsPageWidget : public QWidget {
    Q_OBJECT
public:
    explicit TOptionsPageWidget(QWidget* parent = nullptr)
        : QWidget(parent)
    {
    }
    // Writes the page's keys. False with a message when something could not be
    // written (the dialog shows it and stays open).
    virtual bool Store(TSettingsStore& store, QString& error) = 0;
    // Copies the page's typed fields that the dialog validates.
    virtual void FillInput(TOptionsInput&) const { }
    // The text box of a validated field on this page, or nullptr.
    virtual QLineEdit* Field(TOptionsField) const { return nullptr; }
    // A check that needs the desktop (after the typed fields passed): the
    // message when the page cannot be stored as it stands.
    virtual std::optional<QString> CheckBeforeStore() { return std::nullopt; }
};

} // namespace quillet
