#include "uiservices.h"

#include <QDebug>
#include <QObject>
#include <QVariant>

namespace {

// Used before the program installs its own; see ui().
class SilentUi final : public UiServices
{
public:
    MsgResult msgBox(const MessageRequest &request) override
    {
        if (request.buttons != MsgButtons::Ok)
            qFatal("A question with nobody to answer it: %s", qPrintable(request.text));
        qWarning().noquote() << "A message box with nobody to see it:" << request.text;
        return MsgResult::Ok;
    }
    void beep() override { }
    void setBusyPointer(bool) override { }
};

SilentUi silentUi;
UiServices *installedUi = &silentUi;

} // namespace

void UiServices::showDialog(QObject &dialog)
{
    qFatal("A dialog with nobody to answer it: %s",
           qPrintable(dialog.property("windowTitle").toString()));
}

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
