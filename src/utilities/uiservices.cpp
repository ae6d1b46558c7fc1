#include "uiservices.h"

namespace {

// Used before the program installs its own: answers with the default button, shows nothing.
class SilentUi final : public UiServices
{
public:
    MsgResult msgBox(const MessageRequest &request) override { return request.defaultButton; }
    void beep() override {}
    void setBusyPointer(bool) override {}
};

SilentUi silentUi;
UiServices *installedUi = &silentUi;

} // namespace

UiServices &ui()
{
    return *installedUi;
}

void setUi(UiServices *ui)
{
    installedUi = ui ? ui : &silentUi;
}

MsgResult msgBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title,
                 MsgResult defaultButton, const QString &detailedText)
{
    return ui().msgBox({title, text, icon, buttons, defaultButton, detailedText});
}
