#include "uiservices.h"

#include <QDebug>
#include <QObject>
#include <QVariant>

namespace {

// Used before the program installs its own; see Ui().
class SilentUi final : public UiServices
{
public:
    MsgResult MsgBox(const MessageRequest &request) override
    {
        if (request.buttons != MsgButtons::Ok)
            qFatal("A question with nobody to answer it: %s", qPrintable(request.text));
        qWarning().noquote() << "A message box with nobody to see it:" << request.text;
        return MsgResult::Ok;
    }
    void Beep() override {}
    void SetBusyPointer(bool) override {}
};

SilentUi silentUi;
UiServices *installedUi = &silentUi;

} // namespace

void UiServices::showDialog(QObject &dialog)
{
    qFatal("A dialog with nobody to answer it: %s",
           qPrintable(dialog.property("windowTitle").toString()));
}

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
