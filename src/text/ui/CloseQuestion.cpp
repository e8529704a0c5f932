#include "text/ui/CloseQuestion.h"

#include "core/AppTitle.h"
#include "core/Translations.h"

#include <QMessageBox>
#include <QTimer>

namespace quillet {

int AskDocumentQuestion(QWidget* parent, const TQuestionHook& hook, const QString& text, bool withCancel)
{
    if (hook) {
        return hook(text, withCancel);
    }
    const auto buttons =
        withCancel ? (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) : (QMessageBox::Yes | QMessageBox::No);
    return QMessageBox::question(
        parent, QString::fromUtf8(kAppTitle.data(), static_cast<qsizetype>(kAppTitle.size())), text, buttons);
}

TCloseQuestion::TAnswer TCloseQuestion::Ask(QWidget* window, const TQuestionHook& hook, const QString& name)
{
    if (m_discardAnswered) {
        return TAnswer::Discard;
    }
    const int answer = AskDocumentQuestion(window,
        hook,
        QString::fromStdString(LangFormat("Save", "Save changes to \"%s\"?", {name.toStdString()})),
        true);
    if (answer == QMessageBox::Cancel) {
        return TAnswer::Keep;
    }
    if (answer != QMessageBox::Yes) {
        m_discardAnswered = true;
        QTimer::singleShot(0, window, [this] {
            m_discardAnswered = false;
        });
        return TAnswer::Discard;
    }
    return TAnswer::Save;
}

} // namespace quillet
