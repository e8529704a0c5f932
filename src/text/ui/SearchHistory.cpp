#include "text/ui/SearchHistory.h"

#include "core/SettingsStore.h"
#include "text/SearchOptions.h"

#include <QComboBox>
#include <QLineEdit>

#include <string>
#include <vector>

namespace quillet {

QStringList LoadSearchHistory(std::string_view key)
{
    QStringList items;
    const std::string value = Settings().ReadString(kSearchHistorySection, key, "");
    for (const std::string& item : SplitHistory(value)) {
        items.append(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size())));
    }
    return items;
}

void SaveSearchHistory(std::string_view key, const QStringList& items)
{
    std::vector<std::string> values;
    values.reserve(static_cast<std::size_t>(items.size()));
    for (const QString& item : items) {
        values.push_back(item.toStdString());
    }
    Settings().WriteString(kSearchHistorySection, key, JoinHistory(values));
}

void AddToSearchHistory(QStringList& items, const QString& text)
{
    if (text.isEmpty() || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
        return;
    }
    items.removeIf([&](const QString& item) {
        return item.compare(text, Qt::CaseInsensitive) == 0;
    });
    items.prepend(text);
}

void FillHistoryCombo(QComboBox* combo, const QStringList& items)
{
    const QString text = combo->currentText();
    combo->clear();
    combo->addItems(items);
    combo->setEditText(text);
}

} // namespace quillet
