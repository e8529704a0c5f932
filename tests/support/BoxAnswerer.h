#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <deque>
#include <utility>
#include <vector>

namespace quillet::test {

// Answers every message box that opens with the next scripted button and
// keeps the texts it saw.
class TBoxAnswerer {
public:
    explicit TBoxAnswerer(std::deque<QMessageBox::StandardButton> answers = {})
        : m_answers(std::move(answers))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            // A later box may reuse an earlier one's address: mark each one.
            if (box == nullptr || box->property("answered").toBool()) {
                return;
            }
            box->setProperty("answered", true);
            texts.push_back(box->text());
            captions.push_back(box->windowTitle());
            QMessageBox::StandardButton answer = QMessageBox::Ok;
            if (!m_answers.empty()) {
                answer = m_answers.front();
                m_answers.pop_front();
            }
            QAbstractButton* button = box->button(answer);
            if (button == nullptr) {
                button = box->buttons().front();
            }
            button->click();
        });
        m_timer.start(10);
    }
    std::vector<QString> texts;
    std::vector<QString> captions;

private:
    QTimer m_timer;
    std::deque<QMessageBox::StandardButton> m_answers;
};

} // namespace quillet::test
