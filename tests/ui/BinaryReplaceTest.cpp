// "Replace Data" in a binary document window with the real dialog and the
// real Yes/No/Cancel/All box, both answered by key and mouse clicks; and the
// window refusing to close, or to start another search, while Replace All
// waits in its loop.
#include "core/SettingsStore.h"
#include "core/Translations.h"
#include "hex/HexDocument.h"
#include "hex/ui/BinaryForm.h"
#include "hex/ui/FindDataForm.h"
#include "hex/ui/HexEditor.h"
#include "support/TempDir.h"
#include "text/ui/ReplacePrompt.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace quillet {
namespace {

// Plays the user at the dialogs the next command opens: fills the Replace
// Data dialog, then clicks the scripted answers on each confirmation box,
// running `during` (if set) inside the first box, while the loop waits.
class TReplaceDriver {
public:
    std::string find, with;
    std::deque<const char*> answers; // object names: bYes, bNo, bCancel, bAll
    std::function<void()> during;
    int asked = 0;
    QString question;

    void Start()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            Step();
        });
        m_timer.start(5);
    }

private:
    static void Type(QComboBox* box, const std::string& text)
    {
        box->lineEdit()->selectAll();
        QTest::keyClick(box->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(box->lineEdit(), QString::fromStdString(text));
    }
    void Step()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal->property("driven").toBool()) {
            return;
        }
        modal->setProperty("driven", true);
        if (auto* form = qobject_cast<TFindDataForm*>(modal)) {
            Type(form->SearchBox(), find);
            Type(form->ReplaceBox(), with);
            QTest::mouseClick(form->EntireScope(), Qt::LeftButton);
            if (!form->PromptBox()->isChecked()) {
                QTest::mouseClick(form->PromptBox(), Qt::LeftButton);
            }
            QTest::mouseClick(form->ReplaceAllButton(), Qt::LeftButton);
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr || box->objectName() != QStringLiteral("ReplacePrompt")) {
            ADD_FAILURE() << "unexpected window " << modal->objectName().toStdString();
            modal->close();
            return;
        }
        ++asked;
        question = box->text();
        if (asked == 1 && during) {
            during();
        }
        const char* name = answers.empty() ? "bCancel" : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        QTest::mouseClick(box->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }

    QTimer m_timer;
};

class BinaryReplaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetLang("");
        SetGlobalSettings(std::make_unique<TSettingsStore>(std::filesystem::path{}, TSettingsForm::PerUser));
        SetSearchPromptOverride(nullptr); // the real boxes
        m_form = std::make_unique<TBinaryForm>();
        m_form->resize(700, 400);
        m_form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
        m_form->OnQuestion = [](const QString&, bool) {
            return QMessageBox::No; // the close question at the end
        };
    }
    void Load(const std::string& bytes)
    {
        m_form->Document().SetModified(false);
        ASSERT_TRUE(m_form->LoadFile(m_dir.Write("data.bin", bytes), false));
    }
    std::string Content()
    {
        THexDocument& doc = m_form->Document();
        const auto bytes = doc.BufferFromFile(0, static_cast<std::int64_t>(doc.GetDataSize()));
        return std::string(bytes.begin(), bytes.end());
    }

    test::TTempDir m_dir;
    std::unique_ptr<TBinaryForm> m_form;
};

TEST_F(BinaryReplaceTest, PromptAnswersYesNoCancelAndAll)
{
    struct Case {
        const char* name;
        std::deque<const char*> answers;
        const char* result;
        int asked;
    };
    const Case cases[] = {
        {"yes, no, yes", {"bYes", "bNo", "bYes"}, "BxAxBx", 3},
        {"no, then cancel stops", {"bNo", "bCancel"}, "AxAxAx", 2},
        {"yes, then all asks no more", {"bYes", "bAll"}, "BxBxBx", 2},
        {"all at once", {"bAll"}, "BxBxBx", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load("AxAxAx");
        TReplaceDriver driver;
        driver.find = "a"; // text search ignores case by default
        driver.with = "B";
        driver.answers = c.answers;
        driver.Start();
        m_form->Replace();
        EXPECT_EQ(Content(), c.result);
        EXPECT_EQ(driver.asked, c.asked);
        EXPECT_EQ(driver.question, QStringLiteral("Replace this occurence of \"a\"?"));
        EXPECT_FALSE(m_form->IsBusy());
    }
}

TEST_F(BinaryReplaceTest, WindowCannotCloseOrSearchAgainWhileReplaceAllRuns)
{
    Load("AxAxAx");
    TReplaceDriver driver;
    driver.find = "A";
    driver.with = "B";
    driver.answers = {"bYes", "bAll"};
    bool closed = true;
    bool busy = false;
    int nestedDialogs = 0;
    driver.during = [&] {
        busy = m_form->IsBusy();
        closed = m_form->close();
        // A second search would open its dialog over the running loop.
        QTimer::singleShot(0, [&] {
            if (qobject_cast<TFindDataForm*>(QApplication::activeModalWidget()) != nullptr) {
                ++nestedDialogs;
                QApplication::activeModalWidget()->close();
            }
        });
        m_form->Replace();
        m_form->Find();
        m_form->FindNext();
    };
    driver.Start();
    m_form->Replace();
    EXPECT_TRUE(busy);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(m_form->isVisible());
    EXPECT_EQ(nestedDialogs, 0);
    EXPECT_EQ(Content(), "BxBxBx");
    EXPECT_FALSE(m_form->IsBusy());
    EXPECT_TRUE(m_form->close()); // afterwards it closes (the question answered No)
}

} // namespace
} // namespace quillet
