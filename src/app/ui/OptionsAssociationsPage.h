#pragma once

#include "app/ui/OptionsPage.h"

#include <optional>

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace quillet {

// The page File Associations: one row per file extension the syntax
// definitions name (and every extension associated through us before), with
// its MIME type; a row is checked while our desktop entry is the type's
// default. Rows of one type are checked together. Without an installed
// desktop entry the page only shows the state and says why.
class TOptionsAssociationsPage : public TOptionsPageWidget {
    Q_OBJECT
public:
    TOptionsAssociationsPage(const TOptionsContext& context, QWidget* parent = nullptr);

    bool Store(TSettingsStore& store, QString& error) override;
    void FillInput(TOptionsInput& input) const override;
    QLineEdit* Field(TOptionsField field) const override;
    std::optional<QString> CheckBeforeStore() override;

    QTreeWidget* Rows() const { return m_rows; }
    QLineEdit* Other() const { return m_other; }
    bool IsReadOnly() const { return m_readOnly; }
    // The row of an extension (lower case, without the dot), or nullptr.
    QTreeWidgetItem* Row(const QString& extension) const;

    // The MIME type the desktop gives files with this extension; empty when
    // it knows none.
    static QString MimeTypeOf(const QString& extension);

private:
    void AddRow(const QString& extension, const QString& mimeType);
    void RefreshChecks();
    void RowChanged(QTreeWidgetItem* item);

    TMimeAppsAssociations* m_associations = nullptr;
    bool m_readOnly = true;
    bool m_syncing = false;
    QTreeWidget* m_rows = nullptr;
    QLineEdit* m_other = nullptr;
};

} // namespace quillet
