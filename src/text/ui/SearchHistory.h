#pragma once

#include <QString>
#include <QStringList>

#include <string_view>

class QComboBox;

namespace quillet {

// The remembered entries of the search dialogs' input fields, kept in the
// settings store's "Search History" section (keys kSearchItemsKey and
// kReplaceItemsKey of text/SearchOptions.h), most recent first. Entries are
// stored as UTF-8 text, one per line.

QStringList LoadSearchHistory(std::string_view key);
// Writes the entries; a store that cannot be saved keeps them in memory.
void SaveSearchHistory(std::string_view key, const QStringList& items);
// Moves `text` to the top; an entry equal to it without regard to case is
// removed first. Empty text, and text with a line break (which could not be
// stored as one entry), leave the list as it is.
void AddToSearchHistory(QStringList& items, const QString& text);
// Replaces the combo box's list with the entries, leaving its edit text alone.
void FillHistoryCombo(QComboBox* combo, const QStringList& items);

} // namespace quillet
