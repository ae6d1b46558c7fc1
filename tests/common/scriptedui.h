#pragma once
// A UiServices for tests: records every message box and answers from a script.
// Installs itself for its lifetime.

#include "uiservices.h"

#include <QList>
#include <QQueue>
#include <functional>

class ScriptedUi final : public UiServices
{
public:
    ScriptedUi() { setUi(this); }
    ~ScriptedUi() override { setUi(nullptr); }
    ScriptedUi(const ScriptedUi &) = delete;
    ScriptedUi &operator=(const ScriptedUi &) = delete;

    // Answers for the next boxes, in order; when the queue is empty a box gets its default button.
    QQueue<MsgResult> answers;
    // Runs when a box appears, before it is answered (for acting "while the box is open").
    std::function<void(const MessageRequest &)> onBox;

    QList<MessageRequest> boxes;
    int beeps = 0;
    bool busy = false;

    MsgResult msgBox(const MessageRequest &request) override
    {
        boxes.append(request);
        if (onBox)
            onBox(request);
        return answers.isEmpty() ? request.defaultButton : answers.dequeue();
    }
    void beep() override { ++beeps; }
    void setBusyPointer(bool isBusy) override { busy = isBusy; }

    QStringList texts() const
    {
        QStringList result;
        for (const MessageRequest &box : boxes)
            result.append(box.text);
        return result;
    }
};
