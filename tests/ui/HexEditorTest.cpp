// The hex editor widget and the binary document window driven by real key
// and mouse events.
#include "hex/ui/HexEditor.h"

#include "hex/ui/BinaryForm.h"
#include "hex/ui/GotoOffsetForm.h"
#include "platform/fake/FakeClipboard.h"
#include "support/TempDir.h"
#include "text/ui/ReplacePrompt.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace quillet {
namespace {

namespace fs = std::filesystem;
using test::TTempDir;

std::string Content(THexDocument& doc)
{
    if (doc.GetDataSize() == 0) {
        return {};
    }
    const auto bytes = doc.BufferFromFile(0, static_cast<std::int64_t>(doc.GetDataSize()));
    return std::string(bytes.begin(), bytes.end());
}

// Records the messages the binary window and its dialogs show.
class TRecordingPrompt final : public ISearchPrompt {
public:
    TRecordingPrompt() { SetSearchPromptOverride(this); }
    ~TRecordingPrompt() override { SetSearchPromptOverride(nullptr); }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void ShowInfo(const std::string& text) override { infos.push_back(text); }
    TReplaceAnswer AskReplace(const std::string&, const TSearchMessages&) override { return TReplaceAnswer::Yes; }
    std::vector<std::string> errors, infos;
};

class HexEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_form.resize(700, 400);
        m_form.show();
        m_form.Editor().setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_form));
    }
    void Load(std::string_view bytes)
    {
        m_file = m_dir.Write("data.bin", bytes);
        ASSERT_TRUE(m_form.LoadFile(m_file, false));
    }
    THexDocument& Doc() { return m_form.Document(); }
    QWidget* Keys() { return &m_form.Editor(); }

    TTempDir m_dir;
    fs::path m_file;
    TBinaryForm m_form;
};

TEST_F(HexEditorTest, TypingNibblesAndCharactersInBothModes)
{
    Load(std::string(4, '\0'));
    QTest::keyClicks(Keys(), "41zF");
    EXPECT_EQ(Content(Doc()), std::string("\x41\xF0\0\0", 4));
    EXPECT_TRUE(Doc().ChangedMark(0));
    QTest::keyClick(Keys(), Qt::Key_Tab);
    EXPECT_TRUE(Doc().InCharField());
    QTest::keyClicks(Keys(), "Q");
    EXPECT_EQ(Content(Doc()), std::string("\x41Q\0\0", 4));
    QTest::keyClick(Keys(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_FALSE(Doc().InCharField());

    QTest::keyClick(Keys(), Qt::Key_Insert);
    EXPECT_TRUE(Doc().GetIsInsertMode());
    QCoreApplication::processEvents(); // the state change is posted
    EXPECT_EQ(m_form.Status().mode, QStringLiteral(" Insert"));
    QTest::keyClick(Keys(), Qt::Key_Home);
    QTest::keyClicks(Keys(), "7e");
    EXPECT_EQ(Content(Doc()), std::string("\x7E\x41Q\0\0", 5));
    QTest::keyClick(Keys(), Qt::Key_T, Qt::ControlModifier);
    QTest::keyClicks(Keys(), "ab");
    EXPECT_EQ(Content(Doc()),
        std::string("\x7E"
                    "ab\x41Q\0\0",
            7));
    QTest::keyClick(Keys(), Qt::Key_Backspace);
    EXPECT_EQ(Content(Doc()),
        std::string("\x7E"
                    "a\x41Q\0\0",
            6));
    QTest::keyClick(Keys(), Qt::Key_Z, Qt::ControlModifier); // not the editor's: nothing typed
    EXPECT_EQ(Doc().GetDataSize(), 6u);
}

TEST_F(HexEditorTest, ShiftArrowsSelectAcrossBothFieldsAndMouseClicksPlaceTheCursor)
{
    Load(std::string(64, 'x'));
    // Shift stays down over both keys, as a hand holds it.
    const auto send = [this](QEvent::Type type, int key) {
        QKeyEvent event(type, key, Qt::ShiftModifier);
        QApplication::sendEvent(Keys(), &event);
    };
    send(QEvent::KeyPress, Qt::Key_Shift);
    for (int key : {Qt::Key_Down, Qt::Key_Right}) {
        send(QEvent::KeyPress, key);
        send(QEvent::KeyRelease, key);
    }
    send(QEvent::KeyRelease, Qt::Key_Shift);
    EXPECT_EQ(Doc().SelLow(), 0);
    EXPECT_EQ(Doc().GetSelCount(), 17);
    const QRect cell = m_form.Editor().CellRect({38, 2}); // character of byte 35
    QTest::mouseClick(m_form.Editor().viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(Doc().CursorOffset(), 35);
    EXPECT_TRUE(Doc().InCharField());
    EXPECT_FALSE(Doc().HasSelection());
    // A click in the marker column toggles a marker on that row.
    const QRect marker = m_form.Editor().CellRect({1, 3});
    QTest::mouseClick(m_form.Editor().viewport(), Qt::LeftButton, {}, marker.center());
    EXPECT_EQ(Doc().GetMarker(1), 3);
    EXPECT_EQ(m_form.BookmarkCaption(1), QStringLiteral("&1  0x30"));
}

TEST_F(HexEditorTest, StatusAndCaptionFollowTheDocument)
{
    Load("abc");
    QCoreApplication::processEvents();
    EXPECT_EQ(m_form.windowTitle(), QString::fromStdString(m_file.string()));
    EXPECT_EQ(m_form.Status().position, QStringLiteral("0x0"));
    QTest::keyClick(Keys(), Qt::Key_Right);
    QTest::keyClick(Keys(), Qt::Key_Right);
    QTest::keyClicks(Keys(), "f");
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_form.windowTitle().endsWith(QLatin1Char('*')));
    EXPECT_EQ(m_form.Status().position, QStringLiteral("0x1"));
    EXPECT_EQ(m_form.Status().state, QStringLiteral(" Modified"));
    m_form.ToggleReadOnly();
    EXPECT_EQ(m_form.Status().state, QStringLiteral(" Read Only"));
    QTest::keyClicks(Keys(), "0");
    EXPECT_EQ(Content(Doc()),
        "a\xF2"
        "c");
}

TEST_F(HexEditorTest, CopyCutAndPasteAsHexadecimalText)
{
    Load(std::string("\x00\x1F\xAB\x05", 4));
    TFakeClipboard clipboard;
    m_form.SetClipboard(&clipboard);
    Doc().SetSelStart(0);
    Doc().SetSelEnd(2);
    m_form.Copy();
    EXPECT_EQ(clipboard.GetText(), "001FAB");
    m_form.Cut();
    EXPECT_EQ(Content(Doc()), "\x05");
    struct Case {
        const char* text;
        std::string result;
    };
    const Case cases[] = {
        {"00 1f ab", std::string("\x00\x1F\xAB\x05", 4)},
        {"ABC", std::string("\xAB\x00\x1F\xAB\x05", 5)},
        {"xyz-ghijk", std::string("\xAB\x00\x1F\xAB\x05", 5)}, // nothing changes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Doc().SetSelStart(0);
        clipboard.SetText(c.text);
        m_form.Paste();
        EXPECT_EQ(Content(Doc()), c.result);
    }
}

TEST_F(HexEditorTest, CopyOfAHugeSelectionIsRefused)
{
    const fs::path big = m_dir.Path() / "big.bin";
    fs::resize_file(m_dir.Write("big.bin", ""), (TBinaryForm::kMaxCopyBytes) + 10);
    ASSERT_TRUE(m_form.LoadFile(big, false));
    TFakeClipboard clipboard;
    m_form.SetClipboard(&clipboard);
    TRecordingPrompt prompt;
    m_form.SelectAll();
    m_form.Cut();
    EXPECT_EQ(prompt.errors.size(), 1u);
    EXPECT_FALSE(clipboard.HasText());
    EXPECT_EQ(Doc().GetDataSize(), static_cast<std::uint64_t>(TBinaryForm::kMaxCopyBytes) + 10);
}

TEST_F(HexEditorTest, GoToOffsetInEachBaseWithItsMessages)
{
    struct Case {
        TOffsetDisplay display;
        const char* entry;
        bool accepted;
        std::int64_t offset;
        const char* message;
    };
    const Case cases[] = {
        {odHex, "1F", true, 31, ""},
        {odOctal, "17", true, 15, ""},
        {odOctal, "18", false, 0, "\"18\" is not a valid octal value."},
        {odOctal,
            "777777777777777777777777777777",
            false,
            0,
            "\"777777777777777777777777777777\" is not a valid octal value."},
        {odHex, "FFFFFFFFFFFFFFFFF", false, 0, "\"FFFFFFFFFFFFFFFFF\" is not a valid hex value."},
        {odDec, "99999999999999999999", false, 0, "\"99999999999999999999\" is not a valid integer value."},
        {odNone, "42", true, 42, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        TRecordingPrompt prompt;
        TGotoOffsetForm form(c.display);
        form.show();
        // Pasted text passes the typing filter only for the base's digits.
        form.OffsetEdit()->setText(QString::fromLatin1(c.entry));
        form.accept();
        EXPECT_EQ(form.result() == QDialog::Accepted, c.accepted);
        if (c.accepted) {
            EXPECT_EQ(form.Offset(), c.offset);
            EXPECT_TRUE(prompt.errors.empty());
        } else {
            ASSERT_EQ(prompt.errors.size(), 1u);
            EXPECT_EQ(prompt.errors[0], c.message);
            EXPECT_TRUE(form.isVisible());
        }
    }
}

TEST_F(HexEditorTest, CloseQuestionAnswers)
{
    struct Case {
        int answer;
        bool closes;
        bool saved;
    };
    const Case cases[] = {
        {QMessageBox::Cancel, false, false},
        {QMessageBox::Yes, true, true},
        {QMessageBox::No, true, false},
    };
    for (const Case& c : cases) {
        TBinaryForm form;
        const fs::path file = m_dir.Write("close.bin", "abc");
        ASSERT_TRUE(form.LoadFile(file, false));
        form.Document().ChangeByte('a', 'z', 0);
        QString asked;
        form.OnQuestion = [&](const QString& text, bool withCancel) {
            EXPECT_TRUE(withCancel);
            asked = text;
            return c.answer;
        };
        EXPECT_EQ(form.CloseQuery(), c.closes);
        EXPECT_EQ(asked, QStringLiteral("Save changes to \"%1\"?").arg(QString::fromStdString(file.string())));
        EXPECT_EQ(TTempDir::Read(file), c.saved ? "zbc" : "abc");
    }
}

TEST_F(HexEditorTest, OutsideChangeAsksAndReloads)
{
    Load("old");
    Doc().ChangeByte('o', 'O', 0);
    int asked = 0;
    m_form.OnQuestion = [&](const QString& text, bool) {
        ++asked;
        EXPECT_TRUE(text.startsWith(QStringLiteral("Another application has updated file")));
        return asked == 1 ? QMessageBox::No : QMessageBox::Yes;
    };
    EXPECT_FALSE(m_form.CheckFileChanged()); // unchanged on disk: no question
    EXPECT_EQ(asked, 0);
    m_dir.Write("data.bin", "new!");
    fs::last_write_time(m_file, fs::last_write_time(m_file) + std::chrono::seconds(5));
    EXPECT_FALSE(m_form.CheckFileChanged());
    EXPECT_EQ(Content(Doc()), "Old");
    fs::last_write_time(m_file, fs::last_write_time(m_file) + std::chrono::seconds(5));
    EXPECT_TRUE(m_form.CheckFileChanged());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(Content(Doc()), "new!");
    EXPECT_FALSE(m_form.IsModified());
}

TEST_F(HexEditorTest, BookmarksSetJumpAndClearWhenTheRowIsGone)
{
    Load(std::string(100, 'x'));
    Doc().SetSelStart(70);
    m_form.ToggleNumberedBookmark(4);
    EXPECT_EQ(Doc().GetMarker(4), 4);
    m_form.ToggleNumberedBookmark(4);
    EXPECT_EQ(Doc().GetMarker(4), -1);
    m_form.ToggleNumberedBookmark(4);
    Doc().SetSelStart(0);
    m_form.GoToBookmark(4);
    EXPECT_EQ(Doc().CursorOffset(), 64);
    Doc().SetSelStart(10);
    Doc().SetSelEnd(99);
    Doc().DeleteSelection();
    m_form.GoToBookmark(4);
    EXPECT_FALSE(m_form.BookmarkSet(4));
    EXPECT_FALSE(m_form.AnyBookmarkSet());
}

} // namespace
} // namespace quillet
