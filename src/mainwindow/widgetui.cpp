#include "widgetui.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>

namespace {

QMessageBox::StandardButton standardButton(MsgResult result)
{
    switch (result) {
    case MsgResult::Ok:
        return QMessageBox::Ok;
    case MsgResult::Cancel:
        return QMessageBox::Cancel;
    case MsgResult::Yes:
        return QMessageBox::Yes;
    case MsgResult::No:
        return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

QMessageBox::StandardButtons standardButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon standardIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Stop:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// The box's own buttons as answers; closing the box with Escape or its close box counts as the
// button that Escape stands for.
MsgResult resultOf(int button, MsgButtons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    default:
        return buttons == MsgButtons::Ok   ? MsgResult::Ok
            : buttons == MsgButtons::YesNo ? MsgResult::No
                                           : MsgResult::Cancel;
    }
}

} // namespace

MsgResult WidgetUi::msgBox(const MessageRequest &request)
{
    // The program's texts break lines with carriage returns as well as line feeds.
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    QMessageBox box(standardIcon(request.icon), request.title, text,
                    standardButtons(request.buttons), QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.setDefaultButton(standardButton(request.defaultButton));
    if (!request.detailedText.isEmpty())
        box.setDetailedText(request.detailedText);
    // Last: the calls above recompute the window flags and would drop it.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    // A box shown while busy still needs the arrow to be answered.
    const bool wasBusy = m_busy;
    setBusyPointer(false);
    const int button = box.exec();
    setBusyPointer(wasBusy);
    return resultOf(button, request.buttons);
}

void WidgetUi::showDialog(QObject &dialog)
{
    auto *shown = qobject_cast<QDialog *>(&dialog);
    Q_ASSERT(shown);
    shown->exec();
}

void WidgetUi::beep()
{
    QApplication::beep();
}

void WidgetUi::setBusyPointer(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}
