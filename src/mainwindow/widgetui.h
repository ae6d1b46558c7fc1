#pragma once
// The program's UiServices: real message boxes and dialogs, the system beep and the busy mouse
// pointer.

#include "uiservices.h"

class WidgetUi final : public UiServices
{
public:
    MsgResult msgBox(const MessageRequest &request) override;
    void showDialog(QObject &dialog) override;
    void beep() override;
    void setBusyPointer(bool busy) override;

private:
    bool m_busy = false;
};
