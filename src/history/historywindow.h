#pragma once
// The window "History": the calibration record as a table, newest first, with filters for the
// serial number and the outcome, sorting by any column and an export to CSV; a view of the
// instruments due within a number of days; the whole entry on a double-click; and the verdict of
// the record's chain in its status line; the label and the certificate of a selected verified
// entry, and its release by a second person. Shown modally from the main window.
//
// The window opens its own connection to the record for as long as it is shown. A record that
// cannot be read shows why in the window; an export that fails says so in a message box (ui()).
// The chain is walked on a thread of its own with its own connection, so a large record opens
// at once; the window waits for the walk when it goes away. Its size and column widths are kept
// in section [History] of the settings file.

#include "calibrecord.h"
#include "recordchain.h"

#include <QDialog>

#include <functional>
#include <memory>

class HistoryModel;
class QAbstractItemModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStandardItemModel;
class QTableView;
class QThread;

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
    QComboBox *ComboOutcome = nullptr;
    QCheckBox *CheckDue = nullptr;
    QSpinBox *SpinDueDays = nullptr;
    QTableView *TableRecord = nullptr;
    QLabel *LabelMessage = nullptr;
    QLabel *LabelChain = nullptr;
    QPushButton *ComExport = nullptr;
    QPushButton *ComLabel = nullptr;
    QPushButton *ComCertificate = nullptr;
    QPushButton *ComRelease = nullptr;
    QPushButton *ComClose = nullptr;

    HistoryModel *model() const { return m_model; }
    QStandardItemModel *dueModel() const { return m_dueModel; }

    void ComExport_Click();
    // The label or the certificate of the selected entry, enabled when it is verified.
    void ComLabel_Click();
    void ComCertificate_Click();
    // Releases the selected entry as this account, after a question; enabled only where
    // releaseRefusal() has no objection, and its tooltip says why otherwise.
    void ComRelease_Click();
    // The whole entry of a row of the history, with the chain's verdict, in a message box.
    void showEntry(int row);
    // Waits for the chain's verdict (at most deadlineMs); true when it is shown.
    bool waitForVerdict(int deadlineMs);

protected:
    void done(int result) override;

private:
    // Above the table until the rows change: why the record cannot be read, or what was printed.
    void showMessage(const QString &text);
    void showVerdict(const ChainVerdict &verdict);
    void showDue();
    // The selected row of the history.
    std::optional<int> selectedRow() const;
    // The selected row of the history, when it holds a verified entry.
    std::optional<int> selectedVerifiedRow() const;
    std::optional<RecordEntry> selectedVerifiedEntry();
    // The entry of a row of the history; none, said in a box, when it cannot be read.
    std::optional<RecordEntry> entryOfRow(int row);
    void updateEntryButtons();
    void setTableModel(QAbstractItemModel *model);
    void fitColumns();
    void restoreSizes();
    void keepSizes();

    // Declared before the model, which reads through it, so it goes last.
    CalibRecord m_record;
    HistoryModel *m_model = nullptr;
    QStandardItemModel *m_dueModel = nullptr;
    std::function<QString(QWidget *)> m_chooseFile;
    std::unique_ptr<QThread> m_verifier;
    std::optional<ChainVerdict> m_verdict;
};
