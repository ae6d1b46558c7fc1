#pragma once
// Drives real modal dialogs and message boxes, for the tests that run the program's own
// UiServices end to end (a scripted UiServices answers every other test's dialogs). Polling from
// inside the dialog's own event loop, it notes the class of each dialog that comes up and hands it
// to `answer`; a dialog that the answer leaves open is rejected, so no test can hang on one.
// Header only: tests that do not link widgets never include it.

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <functional>

class ModalDriver : public QObject
{
public:
    explicit ModalDriver(std::function<void(QDialog &)> answer = {}) : m_answer(std::move(answer))
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
        m_timer.start(10);
    }

    QStringList seen;

private:
    void poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || dialog == m_last)
            return;
        m_last = dialog;
        seen.append(QString::fromLatin1(dialog->metaObject()->className()));
        if (m_answer)
            m_answer(*dialog);
        if (m_last && m_last->isVisible())
            m_last->reject();
    }

    std::function<void(QDialog &)> m_answer;
    QTimer m_timer;
    QPointer<QDialog> m_last;
};
