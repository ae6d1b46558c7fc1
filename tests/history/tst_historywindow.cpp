// The history window on a real SQLite record: newest first in local time, whole values at the
// default size, the serial and outcome filters, sorting, lazy pages, the whole entry, the chain's
// verdict, what falls due, the sizes kept, the CSV export and its failure, a damaged record, the
// label and certificate of a verified entry, its release by a second person, and the menu items.

#include "filebytes.h"
#include "frmveltra.h"
#include "historymodel.h"
#include "historywindow.h"
#include "programpaths.h"
#include "recordfill.h"
#include "scriptedserialcontrol.h"
#include "scriptedui.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <ctime>

namespace {

QStringList rowTexts(const QAbstractItemModel &model, int row)
{
    QStringList texts;
    for (int column = 0; column < model.columnCount(); ++column)
        texts << model.index(row, column).data().toString();
    return texts;
}

QStringList serialColumn(const QAbstractItemModel &model)
{
    QStringList serials;
    for (int row = 0; row < model.rowCount(); ++row)
        serials << model.index(row, HistoryModel::Serial).data().toString();
    return serials;
}

} // namespace

class TestHistoryWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void showsNewestFirstInLocalTime();
    void filterKeepsSerialNumbersThatStartWithTheText();
    void columnsShowWholeValuesAtTheDefaultSize();
    void filterKeepsOneOutcome_data();
    void filterKeepsOneOutcome();
    void doubleClickShowsTheWholeEntry();
    void statusLineShowsTheChainVerdict_data();
    void statusLineShowsTheChainVerdict();
    void dueViewMarksExpiredInstruments();
    void sizesAreKeptInTheSettings();
    void sortsByTheClickedColumn();
    void readsPagesOnlyAsTheViewScrolls();
    void exportWritesTheFilteredRowsAsCsv();
    void failedExportSaysWhyAndKeepsTheOldFile();
    void damagedRecordIsNamedInTheWindow();
    void fileMenuOpensTheHistoryAboveExit();
    void labelAndCertificateOfVerifiedEntriesOnly_data();
    void labelAndCertificateOfVerifiedEntriesOnly();
    void certificateGoesToTheFileChosen();
    void labelGoesWhereThePrintDialogSays();
    void releaseIsOfferedWhereAllowed_data();
    void releaseIsOfferedWhereAllowed();
    void releaseAsksThenKeepsWhoReleased();

private:
    RecordSettings settings() const;
    void addEntry(const QString &serial, const char *startedAt, RecordOutcome outcome,
                  const QString &account = QStringLiteral("mkeller"));

    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestHistoryWindow::initTestCase()
{
    // Times are stored in UTC and shown in this zone and format.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TestHistoryWindow::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    setProgramPaths(m_folder->path());
}

RecordSettings TestHistoryWindow::settings() const
{
    return RecordSettings::fromSettingsFile(IniFileName);
}

void TestHistoryWindow::addEntry(const QString &serial, const char *startedAt,
                                 RecordOutcome outcome, const QString &account)
{
    CalibRecord record(settings());
    RecordEntry e = RecordEntry::startedNow(RecordSource::Window);
    e.account = account;
    e.technician.clear();
    e.host = QStringLiteral("bench-2");
    e.startedAt = QDateTime::fromString(QString::fromLatin1(startedAt), Qt::ISODateWithMs);
    e.serial = serial;
    e.model = QStringLiteral("Veltra KX-2");
    e.calibrationBefore = QDate(2025, 11, 20);
    e.expirationBefore = QDate(2026, 11, 20);
    e.calibrationAsked = QDate(2026, 12, 1);
    if (outcome != RecordOutcome::Interrupted) {
        e.outcome = outcome;
        e.finishedAt = e.startedAt.addSecs(4);
        e.calibrationReadBack = outcome == RecordOutcome::Verified ? e.calibrationAsked : QDate();
    }
    QVERIFY2(record.add(e), qPrintable(record.errorText()));
}

void TestHistoryWindow::showsNewestFirstInLocalTime()
{
    addEntry(QStringLiteral("1042"), "2026-12-10T09:15:02.250Z", RecordOutcome::Verified);
    addEntry(QStringLiteral("2077"), "2026-07-01T22:30:00.000Z", RecordOutcome::Interrupted);

    HistoryWindow window(settings());
    const QAbstractItemModel &model = *window.TableRecord->model();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(rowTexts(model, 0),
             (QStringList{"2026-12-10 10:15", "1042", "Veltra KX-2", "2025-11-20 / 2026-11-20",
                          "2026-12-01", "2026-12-01", "verified", "mkeller", "bench-2"}));
    // Summer time, and past midnight in local time.
    QCOMPARE(rowTexts(model, 1),
             (QStringList{"2026-07-02 00:30", "2077", "Veltra KX-2", "2025-11-20 / 2026-11-20",
                          "2026-12-01", "", "interrupted", "mkeller", "bench-2"}));
    QVERIFY(window.LabelMessage->isHidden());
}

void TestHistoryWindow::filterKeepsSerialNumbersThatStartWithTheText()
{
    addEntry(QStringLiteral("1042"), "2026-12-10T09:00:00.000Z", RecordOutcome::Verified);
    addEntry(QStringLiteral("2077"), "2026-12-10T10:00:00.000Z", RecordOutcome::Verified);
    addEntry(QStringLiteral("10"), "2026-12-10T11:00:00.000Z", RecordOutcome::Refused);

    HistoryWindow window(settings());
    const QAbstractItemModel &model = *window.TableRecord->model();
    QTest::keyClicks(window.TextSerial, QStringLiteral("10"));
    QCOMPARE(serialColumn(model), (QStringList{"10", "1042"}));
    QTest::keyClicks(window.TextSerial, QStringLiteral("4"));
    QCOMPARE(serialColumn(model), QStringList{"1042"});
    window.TextSerial->clear();
    QCOMPARE(serialColumn(model), (QStringList{"10", "2077", "1042"}));
}

// Long values in every column: each column is at least as wide as its widest value, and all of
// them fit the window's default width.
void TestHistoryWindow::columnsShowWholeValuesAtTheDefaultSize()
{
    addEntry(QStringLiteral("10423399"), "2026-12-10T09:15:02.250Z", RecordOutcome::Interrupted);
    {
        CalibRecord record(settings());
        RecordEntry e = RecordEntry::startedNow(RecordSource::Window);
        e.startedAt = QDateTime(QDate(2026, 12, 10), QTime(23, 59), QTimeZone::utc());
        e.serial = QStringLiteral("10423400");
        e.model = QStringLiteral("Veltra KX-20");
        e.technician = QStringLiteral("Maria Keller-Schmidt");
        e.host = QStringLiteral("bench-12.lab");
        e.calibrationBefore = e.calibrationAsked = e.calibrationReadBack = QDate(2026, 12, 11);
        e.expirationBefore = e.expirationAsked = e.expirationReadBack = QDate(2027, 12, 11);
        e.outcome = RecordOutcome::Mismatch;
        QVERIFY(record.add(e));
    }
    HistoryWindow window(settings());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTableView &table = *window.TableRecord;
    int total = 0;
    for (int column = 0; column < HistoryModel::ColumnCount; ++column) {
        const QAbstractItemModel &model = *table.model();
        int widest = table.horizontalHeader()->fontMetrics().horizontalAdvance(
            model.headerData(column, Qt::Horizontal).toString());
        for (int row = 0; row < model.rowCount(); ++row)
            widest = qMax(
                widest,
                table.fontMetrics().horizontalAdvance(model.index(row, column).data().toString()));
        QVERIFY2(table.columnWidth(column) > widest,
                 qPrintable(model.headerData(column, Qt::Horizontal).toString()));
        total += table.columnWidth(column);
    }
    QVERIFY2(total <= table.viewport()->width(),
             qPrintable(QStringLiteral("%1 > %2").arg(total).arg(table.viewport()->width())));
    const QModelIndex dates = table.model()->index(0, HistoryModel::ReadBack);
    QCOMPARE(dates.data().toString(), QStringLiteral("2026-12-11 / 2027-12-11"));
    QCOMPARE(dates.data(Qt::ToolTipRole).toString(), QStringLiteral("2026-12-11 / 2027-12-11"));
}

void TestHistoryWindow::filterKeepsOneOutcome_data()
{
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QStringList>("serials");
    QTest::newRow("all outcomes") << "all outcomes" << QStringList{"4", "3", "2", "1"};
    QTest::newRow("verified") << "verified" << QStringList{"3", "1"};
    QTest::newRow("interrupted: never completed") << "interrupted" << QStringList{"4"};
    QTest::newRow("an outcome no entry has") << "failed" << QStringList();
}

void TestHistoryWindow::filterKeepsOneOutcome()
{
    QFETCH(QString, outcome);
    QFETCH(QStringList, serials);
    addEntry(QStringLiteral("1"), "2026-12-10T09:00:00.000Z", RecordOutcome::Verified);
    addEntry(QStringLiteral("2"), "2026-12-10T10:00:00.000Z", RecordOutcome::Refused);
    addEntry(QStringLiteral("3"), "2026-12-10T11:00:00.000Z", RecordOutcome::Verified);
    addEntry(QStringLiteral("4"), "2026-12-10T12:00:00.000Z", RecordOutcome::Interrupted);

    HistoryWindow window(settings());
    window.ComboOutcome->setCurrentIndex(window.ComboOutcome->findText(outcome));
    QCOMPARE(serialColumn(*window.TableRecord->model()), serials);
}

void TestHistoryWindow::doubleClickShowsTheWholeEntry()
{
    addEntry(QStringLiteral("1042"), "2026-12-10T09:15:02.250Z", RecordOutcome::Verified);
    ScriptedUi ui;
    HistoryWindow window(settings());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.waitForVerdict(10000));
    QTableView &table = *window.TableRecord;
    const QRect cell = table.visualRect(table.model()->index(0, HistoryModel::Serial));
    // A view takes a double-click as the second click after a first one.
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(ui.boxes.size(), 1);
    const QString text = ui.boxes[0].text;
    for (const char *line :
         {"Certificate No.: VC-2026-000001", "Serial No.: 1042", "Outcome: verified",
          "Calibration date before: 2025-11-20", "Expiration date before: 2026-11-20",
          "Calibration date read back: 2026-12-01", "Account: mkeller", "Bench: bench-2",
          "Chain: intact: 1 entries"})
        QVERIFY2(text.contains(QLatin1String(line)), qPrintable(text));
}

void TestHistoryWindow::statusLineShowsTheChainVerdict_data()
{
    QTest::addColumn<QString>("tampering");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("intact") << QString() << "Chain: intact: 2 entries";
    QTest::newRow("a changed entry, in red")
        << "UPDATE calibration_record SET serial = '9999' WHERE id = 1"
        << "Chain: broken at entry 1 (VC-2026-000001): its fields do not match its hash";
}

void TestHistoryWindow::statusLineShowsTheChainVerdict()
{
    QFETCH(QString, tampering);
    QFETCH(QString, verdict);
    addEntry(QStringLiteral("1042"), "2026-12-10T09:00:00.000Z", RecordOutcome::Verified);
    addEntry(QStringLiteral("2077"), "2026-12-10T10:00:00.000Z", RecordOutcome::Refused);
    if (!tampering.isEmpty()) {
        CalibRecord record(settings());
        QVERIFY(record.open());
        QSqlQuery query(record.database());
        QVERIFY(query.exec(QStringLiteral("DROP TRIGGER calibration_record_no_update")));
        QVERIFY(query.exec(tampering));
    }
    HistoryWindow window(settings());
    QVERIFY(window.waitForVerdict(10000));
    QCOMPARE(window.LabelChain->text(), verdict);
    QCOMPARE(window.LabelChain->styleSheet().contains(QStringLiteral("color")),
             !tampering.isEmpty());
}

// 1 expired 3 days ago, 2 expires in 10 days, 3 in 90 days.
void TestHistoryWindow::dueViewMarksExpiredInstruments()
{
    CalibRecord record(settings());
    const QList<std::pair<const char *, int>> instruments{{"3", 90}, {"1", -3}, {"2", 10}};
    for (const auto &[serial, days] : instruments) {
        RecordEntry e = RecordEntry::startedNow(RecordSource::Window);
        e.serial = QString::fromLatin1(serial);
        e.model = QStringLiteral("Veltra KX-2");
        e.calibrationAsked = QDate::currentDate().addDays(days - 365);
        e.expirationAsked = QDate::currentDate().addDays(days);
        e.outcome = RecordOutcome::Verified;
        QVERIFY(record.add(e));
    }
    HistoryWindow window(settings());
    window.CheckDue->setChecked(true);
    const QAbstractItemModel &due = *window.TableRecord->model();
    QCOMPARE(&due, static_cast<const QAbstractItemModel *>(window.dueModel()));
    QCOMPARE(due.rowCount(), 2);
    QCOMPARE(rowTexts(due, 0).mid(0, 5),
             (QStringList{"1", "Veltra KX-2", dateText(QDate::currentDate().addDays(-368)),
                          dateText(QDate::currentDate().addDays(-3)), "expired 3 days ago"}));
    QCOMPARE(due.index(1, 4).data().toString(), QStringLiteral("10"));
    QCOMPARE(due.index(0, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0xb0, 0, 0));
    QVERIFY(!due.index(1, 0).data(Qt::ForegroundRole).isValid());
    window.SpinDueDays->setValue(100);
    QCOMPARE(due.rowCount(), 3);
    window.CheckDue->setChecked(false);
    QCOMPARE(window.TableRecord->model(), static_cast<QAbstractItemModel *>(window.model()));
}

void TestHistoryWindow::sizesAreKeptInTheSettings()
{
    addEntry(QStringLiteral("1042"), "2026-12-10T09:00:00.000Z", RecordOutcome::Verified);
    {
        HistoryWindow window(settings());
        window.resize(1200, 640);
        window.TableRecord->setColumnWidth(HistoryModel::Serial, 150);
        window.ComClose->click();
    }
    HistoryWindow window(settings());
    QCOMPARE(window.size(), QSize(1200, 640));
    QCOMPARE(window.TableRecord->columnWidth(HistoryModel::Serial), 150);
}

void TestHistoryWindow::sortsByTheClickedColumn()
{
    addEntry(QStringLiteral("300"), "2026-12-10T09:00:00.000Z", RecordOutcome::Mismatch);
    addEntry(QStringLiteral("100"), "2026-12-10T10:00:00.000Z", RecordOutcome::Verified);
    addEntry(QStringLiteral("200"), "2026-12-10T11:00:00.000Z", RecordOutcome::Failed);

    HistoryWindow window(settings());
    window.show();
    QHeaderView *header = window.TableRecord->horizontalHeader();
    const auto clickHeader = [&](int column) {
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    const QAbstractItemModel &model = *window.TableRecord->model();
    clickHeader(HistoryModel::Serial);
    QCOMPARE(serialColumn(model), (QStringList{"100", "200", "300"}));
    clickHeader(HistoryModel::Serial);
    QCOMPARE(serialColumn(model), (QStringList{"300", "200", "100"}));
    clickHeader(HistoryModel::Outcome);
    QCOMPARE(serialColumn(model), (QStringList{"200", "300", "100"}));
}

void TestHistoryWindow::readsPagesOnlyAsTheViewScrolls()
{
    {
        CalibRecord record(settings());
        QVERIFY(fillRecord(record, 2000));
    }
    HistoryWindow window(settings());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAbstractItemModel &model = *window.TableRecord->model();
    const int firstRows = model.rowCount();
    QVERIFY2(firstRows > 0 && firstRows < 2000, qPrintable(QString::number(firstRows)));
    // Entry 1999 is the newest.
    QCOMPARE(model.index(0, HistoryModel::Serial).data().toString(), QStringLiteral("1499"));

    window.TableRecord->scrollToBottom();
    QTRY_VERIFY(model.rowCount() > firstRows);
    while (model.canFetchMore({}))
        model.fetchMore({});
    QCOMPARE(model.rowCount(), 2000);
    QCOMPARE(model.index(1999, HistoryModel::Serial).data().toString(), QStringLiteral("1000"));
    QCOMPARE(model.index(1999, HistoryModel::Outcome).data().toString(),
             QStringLiteral("interrupted"));
}

void TestHistoryWindow::exportWritesTheFilteredRowsAsCsv()
{
    addEntry(QStringLiteral("1042"), "2026-12-10T09:00:00.000Z", RecordOutcome::Verified);
    addEntry(QStringLiteral("2077"), "2026-12-10T10:00:00.000Z", RecordOutcome::Verified);
    const QString path = m_folder->filePath(QStringLiteral("export.csv"));

    HistoryWindow window(settings());
    window.setExportFileChooser([&](QWidget *) { return path; });
    QTest::keyClicks(window.TextSerial, QStringLiteral("20"));
    ScriptedUi ui;
    QTest::mouseClick(window.ComExport, Qt::LeftButton);
    QCOMPARE(ui.boxes.size(), 0);
    const QList<QByteArray> lines = fileBytes(path).split('\n');
    QCOMPARE(lines.size(), 3); // header, one entry, nothing after the last CRLF
    QVERIFY(lines[0].startsWith("started_at,finished_at,account,host,source,"));
    QVERIFY(lines[1].startsWith(
        "2026-12-10T10:00:00.000Z,2026-12-10T10:00:04.000Z,mkeller,bench-2,window,"));
    QVERIFY(lines[1].endsWith("\r"));

    // A cancelled dialog writes nothing.
    QFile::remove(path);
    window.setExportFileChooser([](QWidget *) { return QString(); });
    QTest::mouseClick(window.ComExport, Qt::LeftButton);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(ui.boxes.size(), 0);
}

void TestHistoryWindow::failedExportSaysWhyAndKeepsTheOldFile()
{
    addEntry(QStringLiteral("1042"), "2026-12-10T09:00:00.000Z", RecordOutcome::Verified);
    // A folder in the file's place cannot be replaced by a file, even by root.
    const QString path = m_folder->filePath(QStringLiteral("export.csv"));
    QVERIFY(QDir().mkpath(path));

    HistoryWindow window(settings());
    window.setExportFileChooser([&](QWidget *) { return path; });
    ScriptedUi ui;
    QTest::mouseClick(window.ComExport, Qt::LeftButton);
    QCOMPARE(ui.boxes.size(), 1);
    QCOMPARE(ui.boxes[0].icon, MsgIcon::Stop);
    QVERIFY2(ui.boxes[0].text.startsWith(
                 QStringLiteral("The record could not be exported to %1.").arg(path)),
             qPrintable(ui.boxes[0].text));
    QVERIFY(QFileInfo(path).isDir());
}

void TestHistoryWindow::damagedRecordIsNamedInTheWindow()
{
    const QString recordFile = PrgPath + RecordFileName;
    {
        QFile file(recordFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("not a database\n").repeated(100));
    }
    HistoryWindow window(settings());
    window.show();
    QCOMPARE(window.TableRecord->model()->rowCount(), 0);
    QVERIFY(window.LabelMessage->isVisible());
    QVERIFY2(window.LabelMessage->text().contains(recordFile),
             qPrintable(window.LabelMessage->text()));
    QVERIFY(window.LabelMessage->text().contains(QStringLiteral("is damaged")));
    QCOMPARE(fileBytes(recordFile), QByteArray("not a database\n").repeated(100));
}

void TestHistoryWindow::fileMenuOpensTheHistoryAboveExit()
{
    addEntry(QStringLiteral("1042"), "2026-12-10T09:00:00.000Z", RecordOutcome::Verified);
    ScriptedUi ui;
    ScriptedSerialControl comm;
    frmVeltra main(comm);
    QStringList items;
    for (const QAction *action : main.mnuFile->actions())
        items << action->text();
    QCOMPARE(items, (QStringList{"&History...", "Print &Label...", "E&xit"}));
    // Nothing was written in this run yet.
    QVERIFY(!main.mnuPrintLabel->isEnabled());

    QStringList seen;
    ui.answerDialog<HistoryWindow>([&](HistoryWindow &history) {
        seen = serialColumn(*history.TableRecord->model());
        history.ComClose->click();
    });
    main.mnuHistory->trigger();
    QCOMPARE(seen, QStringList{"1042"});
}

void TestHistoryWindow::labelAndCertificateOfVerifiedEntriesOnly_data()
{
    QTest::addColumn<RecordOutcome>("outcome");
    QTest::addColumn<bool>("offered");

    QTest::newRow("a verified entry") << RecordOutcome::Verified << true;
    QTest::newRow("dates that did not read back") << RecordOutcome::Mismatch << false;
    QTest::newRow("a write whose command failed") << RecordOutcome::Failed << false;
    QTest::newRow("a refused write") << RecordOutcome::Refused << false;
    QTest::newRow("a write never completed") << RecordOutcome::Interrupted << false;
}

void TestHistoryWindow::labelAndCertificateOfVerifiedEntriesOnly()
{
    QFETCH(RecordOutcome, outcome);
    QFETCH(bool, offered);
    addEntry(QStringLiteral("1042"), "2026-12-10T09:00:00.000Z", outcome);
    HistoryWindow window(settings());
    // Nothing selected: nothing offered.
    QVERIFY(!window.ComLabel->isEnabled());
    QVERIFY(!window.ComCertificate->isEnabled());
    window.TableRecord->selectRow(0);
    QCOMPARE(window.ComLabel->isEnabled(), offered);
    QCOMPARE(window.ComCertificate->isEnabled(), offered);
    // The view of what falls due shows no entries of the record.
    window.CheckDue->setChecked(true);
    QVERIFY(!window.ComLabel->isEnabled());
    QVERIFY(!window.ComCertificate->isEnabled());
}

void TestHistoryWindow::certificateGoesToTheFileChosen()
{
    addEntry(QStringLiteral("1042"), "2026-12-10T09:00:00.000Z", RecordOutcome::Verified);
    const QString pdf = m_folder->filePath(QStringLiteral("certificate.pdf"));
    HistoryWindow window(settings());
    window.TableRecord->selectRow(0);
    ScriptedUi ui;
    ui.answerDialog<QFileDialog>([](QFileDialog &dialog) { dialog.reject(); });
    window.ComCertificate->click();
    QVERIFY(!QFile::exists(pdf));

    ui.answerDialog<QFileDialog>([&](QFileDialog &dialog) {
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
        dialog.selectFile(pdf);
        // QFileDialog keeps accept() protected; QDialog's public one reaches it.
        static_cast<QDialog &>(dialog).accept();
    });
    window.ComCertificate->click();
    QCOMPARE(ui.dialogs, (QStringList{"QFileDialog", "QFileDialog"}));
    QCOMPARE(ui.boxes.size(), 0);
    QVERIFY(fileBytes(pdf).startsWith("%PDF-"));

    // A file that cannot be written says why.
    const QString folder = m_folder->filePath(QStringLiteral("a folder.pdf"));
    QVERIFY(QDir().mkpath(folder));
    ui.answerDialog<QFileDialog>([&](QFileDialog &dialog) {
        dialog.selectFile(folder);
        // As a dialog left open would be accepted: accept() itself refuses a folder.
        static_cast<QDialog &>(dialog).done(QDialog::Accepted);
    });
    window.ComCertificate->click();
    QCOMPARE(ui.boxes.size(), 1);
    QVERIFY2(ui.boxes[0].text.startsWith(QStringLiteral("The certificate was not saved.")),
             qPrintable(ui.boxes[0].text));
    QVERIFY(QFileInfo(folder).isDir());
}

void TestHistoryWindow::labelGoesWhereThePrintDialogSays()
{
    addEntry(QStringLiteral("1042"), "2026-12-10T09:00:00.000Z", RecordOutcome::Verified);
    const QString pdf = m_folder->filePath(QStringLiteral("label.pdf"));
    HistoryWindow window(settings());
    window.TableRecord->selectRow(0);
    ScriptedUi ui;
    // No [Label] Printer: the print dialog chooses, here a PDF file.
    ui.answerDialog<QPrintDialog>([&](QPrintDialog &dialog) {
        dialog.printer()->setOutputFileName(pdf);
        dialog.done(QDialog::Accepted);
    });
    window.ComLabel->click();
    QCOMPARE(ui.dialogs, QStringList{"QPrintDialog"});
    QCOMPARE(ui.boxes.size(), 0);
    QVERIFY(fileBytes(pdf).startsWith("%PDF-"));
    QVERIFY2(window.LabelMessage->text().endsWith(QStringLiteral(" saved as %1.").arg(pdf)),
             qPrintable(window.LabelMessage->text()));
}

void TestHistoryWindow::releaseIsOfferedWhereAllowed_data()
{
    QTest::addColumn<RecordOutcome>("outcome");
    QTest::addColumn<bool>("ownEntry");
    QTest::addColumn<QString>("why");

    QTest::newRow("a verified entry of another account")
        << RecordOutcome::Verified << false << QString();
    QTest::newRow("this account's own work")
        << RecordOutcome::Verified << true << QStringLiteral("written by this account");
    QTest::newRow("dates that did not read back")
        << RecordOutcome::Mismatch << false << QStringLiteral("was not verified (mismatch)");
    QTest::newRow("a write never completed")
        << RecordOutcome::Interrupted << false << QStringLiteral("was not verified (interrupted)");
}

// The entries' account is the seam: the window runs as this account, the entry names another.
void TestHistoryWindow::releaseIsOfferedWhereAllowed()
{
    QFETCH(RecordOutcome, outcome);
    QFETCH(bool, ownEntry);
    QFETCH(QString, why);
    addEntry(QStringLiteral("1042"), "2026-12-10T09:00:00.000Z", outcome,
             ownEntry ? RecordEntry::startedNow(RecordSource::Window).account
                      : QStringLiteral("mkeller"));
    HistoryWindow window(settings());
    QVERIFY(!window.ComRelease->isEnabled());
    QVERIFY(!window.ComRelease->toolTip().isEmpty());
    window.TableRecord->selectRow(0);
    QCOMPARE(window.ComRelease->isEnabled(), why.isEmpty());
    QVERIFY2(window.ComRelease->toolTip().contains(why), qPrintable(window.ComRelease->toolTip()));
    QCOMPARE(window.ComRelease->toolTip().isEmpty(), why.isEmpty());
}

// With [Certificate] RequireRelease=1 the certificate waits for the release; the question names
// the entry, and a No leaves the record as it was.
void TestHistoryWindow::releaseAsksThenKeepsWhoReleased()
{
    QVERIFY(writeFileBytes(IniFileName, "[Certificate]\nRequireRelease=1\n"));
    addEntry(QStringLiteral("1042"), "2026-12-10T09:00:00.000Z", RecordOutcome::Verified);
    HistoryWindow window(settings());
    window.TableRecord->selectRow(0);
    QVERIFY(!window.ComCertificate->isEnabled());
    QVERIFY2(window.ComCertificate->toolTip().contains(QStringLiteral("is not released")),
             qPrintable(window.ComCertificate->toolTip()));

    ScriptedUi ui;
    ui.answers << MsgResult::No << MsgResult::Yes;
    window.ComRelease->click();
    QCOMPARE(ui.boxes.size(), 1);
    QVERIFY2(ui.boxes[0].text.startsWith(QStringLiteral(
                 "Release entry 1 (certificate VC-2026-000001, serial number 1042, written by "
                 "mkeller) as ")),
             qPrintable(ui.boxes[0].text));
    QVERIFY(window.ComRelease->isEnabled());
    QVERIFY(!window.ComCertificate->isEnabled());

    window.ComRelease->click();
    QCOMPARE(ui.boxes.size(), 2);
    QVERIFY2(window.LabelMessage->text().startsWith(QStringLiteral("Entry 1 released by ")),
             qPrintable(window.LabelMessage->text()));
    QVERIFY(!window.ComRelease->isEnabled());
    QVERIFY2(window.ComRelease->toolTip().contains(QStringLiteral("already released by")),
             qPrintable(window.ComRelease->toolTip()));
    QVERIFY(window.ComCertificate->isEnabled());
    CalibRecord record(settings());
    const std::optional<RecordEntry> entry = readEntry(record, 1);
    QVERIFY(entry && !entry->releasedBy.isEmpty());
    QCOMPARE(verifyChain(record).text(), QStringLiteral("intact: 2 entries"));
}

QTEST_MAIN(TestHistoryWindow)
#include "tst_historywindow.moc"
