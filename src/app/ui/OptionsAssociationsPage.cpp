#include "app/ui/OptionsAssociationsPage.h"

#include <QLabel>
#include <QVBoxLayout>

namespace quillet {

namespace {

class TUnavailablePage : public TOptionsPageWidget {
public:
    explicit TUnavailablePage(QWidget* parent)
        : TOptionsPageWidget(parent)
    {
        auto* layout = new QVBoxLayout(this);
        auto* label = new QLabel(QStringLiteral("File associations are not available."), this);
        label->setObjectName(QStringLiteral("AssocUnavailable"));
        layout->addWidget(label);
        layout->addStretch(1);
    }
    bool Store(TSettingsStore&, QString&) override { return true; }
};

} // namespace

TOptionsPageWidget* NewAssociationsPage(const TOptionsContext&, QWidget* parent)
{
    return new TUnavailablePage(parent);
}

} // namespace quillet
