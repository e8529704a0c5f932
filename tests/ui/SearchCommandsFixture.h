// A real document window and buffer for the search dialog and command tests,
// with an in-memory settings store, fresh shared search options and a
// receiver that records messages and answers the replace question from a
// script instead of showing boxes.
#pragma once

#include "core/SettingsStore.h"
#include "core/Translations.h"
#include "support/BufferText.h"
#include "text/MemoSearch.h"
#include "text/SearchOptions.h"
#include "text/ui/ChildForm.h"
#include "text/ui/ReplacePrompt.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::test {

class TRecordingPrompt final : public ISearchPrompt {
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void ShowInfo(const std::string& text) override { infos.push_back(text); }
    TReplaceAnswer AskReplace(const std::string& text, const TSearchMessages&) override
    {
        questions.push_back(text);
        if (answers.empty()) {
            return TReplaceAnswer::Cancel;
        }
        const TReplaceAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<std::string> errors;
    std::vector<std::string> infos;
    std::vector<std::string> questions;
    std::deque<TReplaceAnswer> answers;
};

class SearchUiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLang(""); // the English texts, whatever an earlier test chose
        SetGlobalSettings(std::make_unique<TSettingsStore>(std::filesystem::path{}, TSettingsForm::PerUser));
        GlobalSearchOptions() = TSearchOptions{};
        SetSearchPromptOverride(&m_prompt);
        m_form = std::make_unique<TChildForm>();
        m_form->resize(500, 400);
        m_form->show();
    }
    void TearDown() override
    {
        QApplication::processEvents(); // a dialog driver that never ran reports here
        SetSearchPromptOverride(nullptr);
        Source().SetModified(false);
        m_form.reset();
        GlobalSearchOptions() = TSearchOptions{};
    }

    TMemoSource& Source() { return m_form->MemoSource(); }
    TSearchOptions& Options() { return GlobalSearchOptions(); }
    void Load(std::string_view text)
    {
        Source().LoadFromText(text);
        Source().ClearUndoBuffer();
    }
    std::string Text() { return test::JoinedLines(Source()); }
    TTextPoint Caret() { return Source().GetCaretPoint(); }
    std::string History(std::string_view key) { return Settings().ReadString(kSearchHistorySection, key, ""); }
    void SetHistory(std::string_view key, std::string_view value)
    {
        Settings().WriteString(kSearchHistorySection, key, value);
    }

    // Runs `drive` on the dialog of type TDialog that the next modal loop
    // shows. A dialog that `drive` leaves open is a failure and is closed, so a
    // broken test cannot hang.
    template <typename TDialog> void WhenDialogOpens(std::function<void(TDialog&)> drive)
    {
        QTimer::singleShot(0, [drive] {
            auto* dialog = qobject_cast<TDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                ADD_FAILURE() << "no dialog of the expected type is open";
                if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    other->reject();
                }
                return;
            }
            drive(*dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog stayed open";
                dialog->reject();
            }
        });
    }

    TRecordingPrompt m_prompt;
    std::unique_ptr<TChildForm> m_form;
};

} // namespace quillet::test
