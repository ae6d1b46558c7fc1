#pragma once
// The few things the non-widget code needs from the user interface: message boxes, the program's
// own modal dialogs, the beep and the busy mouse pointer.
//
// Every message box of the program goes through ui().msgBox and every modal dialog through
// ui().showDialog. The program installs its widget implementation at start; tests install one
// that records each box and dialog and answers from a script.

#include <QString>

class QObject;

inline const QString ProgramTitle = QStringLiteral("VeltraSetCalibDate");

enum class MsgIcon { None, Information, Question, Exclamation, Stop };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

struct MessageRequest
{
    QString title;
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgResult defaultButton = MsgResult::Ok;
    // More about the cause, behind the box's "Show Details..." button; empty for none.
    QString detailedText;
};

class UiServices
{
public:
    virtual ~UiServices() = default;
    // Shows a modal box that stays on top and returns the button the user pressed.
    virtual MsgResult msgBox(const MessageRequest &request) = 0;
    // Shows one of the program's modal dialogs and returns when it has closed; what the user chose
    // is in what the dialog leaves behind. The dialog is a QDialog, passed as its QObject so that
    // this library needs no widgets. Without windows nobody can answer it: by default the program
    // ends with the dialog's title.
    virtual void showDialog(QObject &dialog);
    virtual void beep() = 0;
    // The hourglass while busy, the arrow otherwise.
    virtual void setBusyPointer(bool busy) = 0;
};

// The installed implementation. Until setUi is called there is nobody to ask: a box with only OK
// goes to the log, and a question or a dialog ends the program with its text rather than be
// answered behind the user's back.
UiServices &ui();
// Installs an implementation (not owned); nullptr restores that default.
void setUi(UiServices *ui);

// Convenience for the common case.
MsgResult msgBox(const QString &text, MsgButtons buttons, MsgIcon icon,
                 const QString &title = ProgramTitle, MsgResult defaultButton = MsgResult::Ok,
                 const QString &detailedText = QString());
