#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quillet {

// The window shown while two files are compared: a text line, a progress
// bar and "Cancel". It is modal, so nothing else can be used (no source
// closed, no second comparison started) while the comparison lets pending
// events run.
class TCompareProgressForm : public QDialog {
    Q_OBJECT

public:
    explicit TCompareProgressForm(QWidget* parent = nullptr);

    // Moves the bar to value; a value past the bar's maximum raises the
    // maximum to value × 2.17 first, so the bar never looks finished.
    void SetProgress(int value);
    int Progress() const;
    int Maximum() const;
    QPushButton* CancelButton() const { return m_cancel; }

    std::function<void()> OnCancel;

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace quillet
