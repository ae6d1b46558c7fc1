#pragma once
// The window "History": the calibration record as a table, newest first, with a filter for the
// serial number, sorting by any column and an export to CSV. Shown modally from the main window.
//
// The window opens its own connection to the record for as long as it is shown. A record that
// cannot be read shows why in the window; an export that fails says so in a message box (ui()).

#include "calibrecord.h"

#include <QDialog>

#include <functional>
#include <memory>

class HistoryModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

class HistoryWindow : public QDialog
{
    Q_OBJECT
public:
    explicit HistoryWindow(const RecordSettings &settings, QWidget *parent = nullptr);
    ~HistoryWindow() override;

    // Asks for the file to export into; empty when the user cancelled. The program's version is
    // the platform's save dialog.
    void setExportFileChooser(std::function<QString(QWidget *)> chooser);

    QLineEdit *TextSerial = nullptr;
    QTableView *TableRecord = nullptr;
    QLabel *LabelMessage = nullptr;
    QPushButton *ComExport = nullptr;
    QPushButton *ComClose = nullptr;

    HistoryModel *model() const { return m_model; }

    void ComExport_Click();

private:
    void showReadError(const QString &text);

    // Declared before the model, which reads through it, so it goes last.
    CalibRecord m_record;
    HistoryModel *m_model = nullptr;
    std::function<QString(QWidget *)> m_chooseFile;
};
