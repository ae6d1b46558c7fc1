#include "uiservices.h"

namespace {

// Used before the program installs its own: answers with the default button, shows nothing.
class SilentUi final : public UiServices
{
public:
    MsgResult MsgBox(const MessageRequest &request) override { return request.defaultButton; }
    void Beep() override {}
    void SetBusyPointer(bool) override {}
};

SilentUi silentUi;
UiServices *installedUi = &silentUi;

} // namespace

UiServices &Ui()
{
    return *installedUi;
}

void SetUi(UiServices *ui)
{
    installedUi = ui ? ui : &silentUi;
}

MsgResult MsgBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title,
                 MsgResult defaultButton, const QString &detailedText)
{
    return Ui().MsgBox({title, text, icon, buttons, defaultButton, detailedText});
}
