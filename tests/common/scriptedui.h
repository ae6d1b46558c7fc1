#pragma once
// A UiServices for tests: records every message box and dialog and answers from a script.
// Installs itself for its lifetime.
//
// Nothing is answered behind the test's back: a question (a box with more than one button) or a
// dialog that the script does not answer fails the test with its text, and so does a scripted
// answer that is not one of the box's buttons. A box with only OK needs no answer.

#include "uiservices.h"

#include <QList>
#include <QObject>
#include <QQueue>
#include <QTest>
#include <QVariant>
#include <functional>

class ScriptedUi final : public UiServices
{
public:
    ScriptedUi() { setUi(this); }
    ~ScriptedUi() override { setUi(nullptr); }
    ScriptedUi(const ScriptedUi &) = delete;
    ScriptedUi &operator=(const ScriptedUi &) = delete;

    // Answers for the next boxes, in order.
    QQueue<MsgResult> answers;
    // Runs when a box appears, before it is answered (for acting "while the box is open").
    std::function<void(const MessageRequest &)> onBox;
    // Answers for the next dialogs, in order: each acts on the dialog as the user would while it
    // is open (types, clicks, closes it). Like a box, the dialog is never shown.
    QQueue<std::function<void(QObject &)>> dialogAnswers;

    QList<MessageRequest> boxes;
    // The class of each dialog shown, in order.
    QStringList dialogs;
    int beeps = 0;
    bool busy = false;

    // Answers the next dialog, which must be a Dialog.
    template<class Dialog> void answerDialog(std::function<void(Dialog &)> act)
    {
        dialogAnswers.enqueue([act = std::move(act)](QObject &dialog) {
            if (auto *expected = qobject_cast<Dialog *>(&dialog))
                act(*expected);
            else
                fail(QStringLiteral("A %1 opened where the script answers a %2.")
                         .arg(className(dialog),
                              QString::fromLatin1(Dialog::staticMetaObject.className())));
        });
    }

    MsgResult msgBox(const MessageRequest &request) override
    {
        boxes.append(request);
        if (onBox)
            onBox(request);
        if (!answers.isEmpty()) {
            const MsgResult answer = answers.dequeue();
            if (offers(request.buttons, answer))
                return answer;
            fail(QStringLiteral("The scripted answer does not fit the box: ") + request.text);
        } else if (request.buttons != MsgButtons::Ok) {
            fail(QStringLiteral("Unscripted question: ") + request.text);
        }
        // What Escape would do, so that a failed test ends without a decision taken for it.
        return request.buttons == MsgButtons::Ok   ? MsgResult::Ok
            : request.buttons == MsgButtons::YesNo ? MsgResult::No
                                                   : MsgResult::Cancel;
    }
    void showDialog(QObject &dialog) override
    {
        dialogs.append(className(dialog));
        if (dialogAnswers.isEmpty())
            fail(QStringLiteral("Unscripted dialog %1 \"%2\"")
                     .arg(className(dialog), dialog.property("windowTitle").toString()));
        else
            dialogAnswers.dequeue()(dialog);
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

private:
    static bool offers(MsgButtons buttons, MsgResult answer)
    {
        switch (buttons) {
        case MsgButtons::Ok:
            return answer == MsgResult::Ok;
        case MsgButtons::OkCancel:
            return answer == MsgResult::Ok || answer == MsgResult::Cancel;
        case MsgButtons::YesNo:
            return answer == MsgResult::Yes || answer == MsgResult::No;
        case MsgButtons::YesNoCancel:
            return answer != MsgResult::Ok;
        }
        return false;
    }
    static QString className(const QObject &object)
    {
        return QString::fromLatin1(object.metaObject()->className());
    }
    // Marks the running test failed; the code under test goes on with its next step.
    static void fail(const QString &message)
    {
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
    }
};
