#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace quillet {

// The small window of a running search: the file being searched, a progress
// bar over the files and "Cancel". It is modal, so the documents being
// searched stay open and the search cannot be started again meanwhile.
class TFindInFilesProgress : public QDialog {
    Q_OBJECT
public:
    explicit TFindInFilesProgress(QWidget* parent = nullptr);

    // The file name, shortened in the middle to the label's width.
    void SetFileName(const QString& fileName);
    void SetFileCount(int count);
    void SetFileIndex(int index);
    // The caption with the running number of matches.
    void SetMatchCount(int matches);
    bool IsCancelled() const { return m_cancelled; }
    QPushButton* CancelButton() const { return m_cancel; }
    QProgressBar* ProgressBar() const { return m_bar; }
    QLabel* FileLabel() const { return m_file; }

protected:
    void reject() override; // Esc and the close box cancel

private:
    QLabel* m_file = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
    QString m_title;
    bool m_cancelled = false;
};

} // namespace quillet
