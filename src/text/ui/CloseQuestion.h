#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace quillet {

// Answers a document window's question instead of a box (tests): returns the
// QMessageBox button (Yes, No, Cancel).
using TQuestionHook = std::function<int(const QString& text, bool withCancel)>;

// A Yes/No (withCancel: Yes/No/Cancel) question with the question icon,
// titled with the application title; hook answers instead when set.
int AskDocumentQuestion(QWidget* parent, const TQuestionHook& hook, const QString& text, bool withCancel);

// The close question of a modified document, "Save changes to "%s"?" with
// Yes, No and Cancel. A "No" holds for the rest of the close sequence (the
// document manager closes, then the main window asks again) and is forgotten
// once control returns to the event loop, so a cancelled program close
// loses nothing.
class TCloseQuestion {
public:
    enum class TAnswer { Save, Discard, Keep };

    // window: the document window, parent of the box and owner of this object.
    TAnswer Ask(QWidget* window, const TQuestionHook& hook, const QString& name);

private:
    bool m_discardAnswered = false;
};

} // namespace quillet
