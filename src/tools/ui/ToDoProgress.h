#pragma once

#include <QDialog>

#include <chrono>

class QLabel;
class QProgressBar;

namespace quillet {

// The small progress window of the to-do lists: a text line and a bar. It
// repaints at most 20 times a second however often it is told, so a fast scan
// is not slowed by its own progress display. It has no Cancel: the work it
// shows cannot be stopped half way.
class TToDoProgress : public QDialog {
    Q_OBJECT
public:
    TToDoProgress(QWidget* parent, const QString& text, int maximum);

    void SetPosition(int position);
    int Repaints() const { return m_repaints; }

private:
    QLabel* m_label = nullptr;
    QProgressBar* m_bar = nullptr;
    std::chrono::steady_clock::time_point m_lastPaint{};
    int m_repaints = 0;
};

} // namespace quillet
