#pragma once
// The few things the non-widget code needs from the user interface: message boxes, the beep and
// the busy mouse pointer.
//
// Every message box of the program goes through ui().msgBox. The program installs its widget
// implementation at start; tests install one that records each box and answers from a script.

#include <QString>

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
    virtual void beep() = 0;
    // The hourglass while busy, the arrow otherwise.
    virtual void setBusyPointer(bool busy) = 0;
};

// The installed implementation; a silent one that answers every box with its default button
// until setUi is called.
UiServices &ui();
// Installs an implementation (not owned); nullptr restores the silent one.
void setUi(UiServices *ui);

// Convenience for the common case.
MsgResult msgBox(const QString &text, MsgButtons buttons, MsgIcon icon,
                 const QString &title = ProgramTitle, MsgResult defaultButton = MsgResult::Ok,
                 const QString &detailedText = QString());
