#include "historywindow.h"

#include "certificate.h"
#include "historymodel.h"
#include "inifile.h"
#include "labelprinting.h"
#include "labelsettings.h"
#include "portentry.h"
#include "programpaths.h"
#include "recorddue.h"
#include "recordhistory.h"
#include "recordrelease.h"
#include "uiservices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QThread>
#include <QVBoxLayout>

namespace {

const QString SizesSection = QStringLiteral("History");
const QString RedText = QStringLiteral("color: #b00000;");

QString askExportFile(QWidget *parent)
{
    return QFileDialog::getSaveFileName(
        parent, HistoryWindow::tr("Export CSV"),
        QDir::home().filePath(QStringLiteral("VeltraCalibRecord.csv")),
        HistoryWindow::tr("CSV files (*.csv);;All files (*)"));
}

QString shown(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

QString shownDate(const QDate &date)
{
    return shown(dateText(date));
}

// Every field of an entry, one "label: value" line each.
QString entryText(const RecordEntry &e)
{
    const auto local = [](const QDateTime &t) {
        return t.isValid() ? t.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t"))
                           : QStringLiteral("-");
    };
    const QStringList lines{
        HistoryWindow::tr("Entry: %1").arg(e.id),
        HistoryWindow::tr("Certificate No.: %1").arg(shown(e.certificate)),
        HistoryWindow::tr("Started: %1").arg(local(e.startedAt)),
        HistoryWindow::tr("Finished: %1").arg(local(e.finishedAt)),
        HistoryWindow::tr("Outcome: %1").arg(outcomeShown(e.outcome)),
        HistoryWindow::tr("Detail: %1").arg(shown(e.detail)),
        HistoryWindow::tr("Serial No.: %1").arg(shown(e.serial)),
        HistoryWindow::tr("Model: %1").arg(shown(e.model)),
        HistoryWindow::tr("Firmware: %1")
            .arg(e.firmware ? QString::number(*e.firmware) : QStringLiteral("-")),
        HistoryWindow::tr("Checksum: %1").arg(shown(e.checksum)),
        HistoryWindow::tr("Calibration date before: %1").arg(shownDate(e.calibrationBefore)),
        HistoryWindow::tr("Expiration date before: %1").arg(shownDate(e.expirationBefore)),
        HistoryWindow::tr("Calibration date asked: %1").arg(shownDate(e.calibrationAsked)),
        HistoryWindow::tr("Expiration date asked: %1").arg(shownDate(e.expirationAsked)),
        HistoryWindow::tr("Calibration date read back: %1").arg(shownDate(e.calibrationReadBack)),
        HistoryWindow::tr("Expiration date read back: %1").arg(shownDate(e.expirationReadBack)),
        HistoryWindow::tr("Technician: %1").arg(shown(e.technician)),
        HistoryWindow::tr("Account: %1").arg(shown(e.account)),
        HistoryWindow::tr("Reference: %1").arg(shown(e.reference)),
        HistoryWindow::tr("Bench: %1").arg(shown(e.host)),
        HistoryWindow::tr("Port: %1 %2")
            .arg(e.port ? portName(*e.port) : QString(), e.device)
            .trimmed(),
        HistoryWindow::tr("Written with: %1 %2").arg(sourceShown(e.source), e.programVersion),
        HistoryWindow::tr("Hash: %1").arg(shown(e.hash)),
        HistoryWindow::tr("Release: %1").arg(releaseText(e)),
    };
    return lines.join(u'\n');
}

QList<int> numbers(const QString &text)
{
    QList<int> values;
    for (const QString &part : text.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int value = part.trimmed().toInt(&ok);
        if (!ok || value <= 0 || value > 10000)
            return {};
        values << value;
    }
    return values;
}

QString numbersText(const QList<int> &values)
{
    QStringList parts;
    for (const int value : values)
        parts << QString::number(value);
    return parts.join(u',');
}

} // namespace

HistoryWindow::HistoryWindow(const RecordSettings &settings, QWidget *parent)
    : QDialog(parent),
      m_record(settings),
      m_chooseFile(askExportFile)
{
    setWindowTitle(tr("History"));
    resize(1160, 560);

    auto *filterLabel = new QLabel(tr("Serial No. :"), this);
    TextSerial = new QLineEdit(this);
    TextSerial->setClearButtonEnabled(true);
    TextSerial->setPlaceholderText(tr("all instruments"));
    filterLabel->setBuddy(TextSerial);
    auto *outcomeLabel = new QLabel(tr("Outcome :"), this);
    ComboOutcome = new QComboBox(this);
    ComboOutcome->addItem(tr("all outcomes"));
    for (const RecordOutcome outcome :
         {RecordOutcome::Verified, RecordOutcome::Mismatch, RecordOutcome::Failed,
          RecordOutcome::Refused, RecordOutcome::Interrupted})
        ComboOutcome->addItem(outcomeShown(outcome), int(outcome));
    outcomeLabel->setBuddy(ComboOutcome);
    CheckDue = new QCheckBox(tr("&Due within"), this);
    SpinDueDays = new QSpinBox(this);
    SpinDueDays->setRange(0, 3650);
    SpinDueDays->setValue(30);
    auto *daysLabel = new QLabel(tr("days"), this);
    ComExport = new QPushButton(tr("&Export CSV..."), this);
    ComLabel = new QPushButton(tr("Print &Label..."), this);
    ComCertificate = new QPushButton(tr("&Certificate..."), this);
    ComRelease = new QPushButton(tr("&Release..."), this);
    ComClose = new QPushButton(tr("Close"), this);
    LabelMessage = new QLabel(this);
    LabelMessage->setWordWrap(true);
    LabelMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LabelMessage->hide();
    LabelChain = new QLabel(tr("Chain: being checked..."), this);
    LabelChain->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_model = new HistoryModel(m_record, this);
    m_dueModel = new QStandardItemModel(0, 7, this);
    m_dueModel->setHorizontalHeaderLabels({tr("Serial No."), tr("Model"), tr("Calibration date"),
                                           tr("Expiration date"), tr("Days left"),
                                           tr("Certificate No."), tr("Technician")});
    TableRecord = new QTableView(this);
    setTableModel(m_model);
    TableRecord->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableRecord->setSelectionMode(QAbstractItemView::SingleSelection);
    TableRecord->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableRecord->setWordWrap(false);
    TableRecord->verticalHeader()->hide();
    // Fixed row heights: the view never measures rows it does not show.
    TableRecord->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    TableRecord->horizontalHeader()->setStretchLastSection(true);
    connect(m_model, &HistoryModel::readFailed, this, &HistoryWindow::showMessage);
    connect(m_model, &QAbstractItemModel::modelReset, LabelMessage, &QLabel::hide);
    connect(m_model, &QAbstractItemModel::modelReset, this, &HistoryWindow::updateEntryButtons);
    // Turning sorting on reads the first page, newest first.
    TableRecord->horizontalHeader()->setSortIndicator(HistoryModel::Time, Qt::DescendingOrder);
    TableRecord->setSortingEnabled(true);
    fitColumns();

    auto *top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(TextSerial, 1);
    top->addSpacing(12);
    top->addWidget(outcomeLabel);
    top->addWidget(ComboOutcome);
    top->addStretch(1);
    top->addWidget(CheckDue);
    top->addWidget(SpinDueDays);
    top->addWidget(daysLabel);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(ComExport);
    bottom->addWidget(ComLabel);
    bottom->addWidget(ComCertificate);
    bottom->addWidget(ComRelease);
    bottom->addWidget(LabelChain, 1);
    bottom->addWidget(ComClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(LabelMessage);
    layout->addWidget(TableRecord, 1);
    layout->addLayout(bottom);

    connect(TextSerial, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_model->setSerialFilter(text.trimmed()); });
    connect(ComboOutcome, &QComboBox::currentIndexChanged, this, [this] {
        const QVariant outcome = ComboOutcome->currentData();
        m_model->setOutcomeFilter(outcome.isValid()
                                      ? std::optional<RecordOutcome>(RecordOutcome(outcome.toInt()))
                                      : std::nullopt);
    });
    connect(CheckDue, &QCheckBox::toggled, this, &HistoryWindow::showDue);
    connect(SpinDueDays, &QSpinBox::valueChanged, this, [this] {
        if (CheckDue->isChecked())
            showDue();
    });
    connect(TableRecord, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (TableRecord->model() == m_model)
            showEntry(index.row());
    });
    connect(ComExport, &QPushButton::clicked, this, &HistoryWindow::ComExport_Click);
    connect(ComLabel, &QPushButton::clicked, this, &HistoryWindow::ComLabel_Click);
    connect(ComCertificate, &QPushButton::clicked, this, &HistoryWindow::ComCertificate_Click);
    connect(ComRelease, &QPushButton::clicked, this, &HistoryWindow::ComRelease_Click);
    connect(ComClose, &QPushButton::clicked, this, &QDialog::accept);
    restoreSizes();

    m_verifier.reset(QThread::create([this, settings] {
        CalibRecord record(settings);
        const ChainVerdict verdict = verifyChain(record);
        QMetaObject::invokeMethod(
            this, [this, verdict] { showVerdict(verdict); }, Qt::QueuedConnection);
    }));
    m_verifier->start();
}

HistoryWindow::~HistoryWindow()
{
    m_verifier->wait();
    // Children go after the members: the model, which reads through m_record, must go first.
    delete m_model;
}

void HistoryWindow::setExportFileChooser(std::function<QString(QWidget *)> chooser)
{
    m_chooseFile = std::move(chooser);
}

void HistoryWindow::fitColumns()
{
    TableRecord->resizeColumnsToContents();
}

void HistoryWindow::restoreSizes()
{
    const auto read = [](const char *key) {
        return numbers(
            IniFile::readString(IniFileName, SizesSection, QString::fromLatin1(key), QString()));
    };
    if (const QList<int> size = read("Size"); size.size() == 2)
        resize(size[0], size[1]);
    const QList<int> widths = read("Columns");
    if (widths.size() == HistoryModel::ColumnCount) {
        for (int column = 0; column < HistoryModel::ColumnCount; ++column)
            TableRecord->setColumnWidth(column, widths[column]);
    }
}

void HistoryWindow::keepSizes()
{
    IniFile::writeString(IniFileName, SizesSection, QStringLiteral("Size"),
                         numbersText({width(), height()}));
    if (TableRecord->model() != m_model)
        return;
    QList<int> widths;
    for (int column = 0; column < HistoryModel::ColumnCount; ++column)
        widths << TableRecord->columnWidth(column);
    IniFile::writeString(IniFileName, SizesSection, QStringLiteral("Columns"), numbersText(widths));
}

void HistoryWindow::done(int result)
{
    keepSizes();
    QDialog::done(result);
}

void HistoryWindow::showMessage(const QString &text)
{
    LabelMessage->setText(text);
    LabelMessage->show();
}

void HistoryWindow::showVerdict(const ChainVerdict &verdict)
{
    m_verdict = verdict;
    LabelChain->setText(tr("Chain: ") + verdict.text());
    LabelChain->setStyleSheet(verdict.kind == ChainVerdict::Kind::Intact ? QString() : RedText);
}

bool HistoryWindow::waitForVerdict(int deadlineMs)
{
    const QDeadlineTimer deadline(deadlineMs);
    while (!m_verdict && !deadline.hasExpired()) {
        m_verifier->wait(QDeadlineTimer(20));
        QCoreApplication::processEvents();
    }
    return m_verdict.has_value();
}

void HistoryWindow::showDue()
{
    const bool due = CheckDue->isChecked();
    TextSerial->setEnabled(!due);
    ComboOutcome->setEnabled(!due);
    ComExport->setEnabled(!due);
    if (!due) {
        setTableModel(m_model);
        restoreSizes();
        return;
    }
    keepSizes();
    QList<DueEntry> entries;
    m_dueModel->removeRows(0, m_dueModel->rowCount());
    if (!dueEntries(m_record, QDate::currentDate(), SpinDueDays->value(), entries))
        showMessage(m_record.errorText());
    for (const DueEntry &entry : entries) {
        const RecordEntry &e = entry.entry;
        const QString days = entry.daysLeft < 0
            ? tr("expired %n days ago", nullptr, int(-entry.daysLeft))
            : QString::number(entry.daysLeft);
        QList<QStandardItem *> row;
        for (const QString &text :
             {e.serial, e.model, dateText(e.calibrationAsked), dateText(e.expirationAsked), days,
              e.certificate, e.technician}) {
            auto *item = new QStandardItem(text);
            item->setToolTip(text);
            if (entry.daysLeft < 0)
                item->setForeground(QColor(0xb0, 0, 0));
            row << item;
        }
        m_dueModel->appendRow(row);
    }
    setTableModel(m_dueModel);
    fitColumns();
}

void HistoryWindow::setTableModel(QAbstractItemModel *model)
{
    TableRecord->setModel(model);
    // A new model comes with a new selection model.
    connect(TableRecord->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &HistoryWindow::updateEntryButtons);
    updateEntryButtons();
}

std::optional<int> HistoryWindow::selectedRow() const
{
    if (TableRecord->model() != m_model)
        return std::nullopt;
    const QModelIndexList rows = TableRecord->selectionModel()->selectedRows(HistoryModel::Outcome);
    if (rows.size() != 1)
        return std::nullopt;
    return rows.first().row();
}

std::optional<int> HistoryWindow::selectedVerifiedRow() const
{
    const std::optional<int> row = selectedRow();
    if (!row
        || m_model->index(*row, HistoryModel::Outcome).data()
            != outcomeShown(RecordOutcome::Verified))
        return std::nullopt;
    return row;
}

std::optional<RecordEntry> HistoryWindow::selectedVerifiedEntry()
{
    const std::optional<int> row = selectedVerifiedRow();
    return row ? entryOfRow(*row) : std::nullopt;
}

std::optional<RecordEntry> HistoryWindow::entryOfRow(int row)
{
    std::optional<RecordEntry> entry = readEntry(m_record, m_model->entryId(row));
    if (!entry)
        msgBox(m_record.errorText().isEmpty() ? tr("This entry is no longer there.")
                                              : m_record.errorText(),
               MsgButtons::Ok, MsgIcon::Stop, windowTitle());
    return entry;
}

void HistoryWindow::updateEntryButtons()
{
    const bool verified = selectedVerifiedRow().has_value();
    ComLabel->setEnabled(verified);
    const std::optional<int> row = selectedRow();
    const std::optional<RecordEntry> entry =
        row ? readEntry(m_record, m_model->entryId(*row)) : std::nullopt;
    // Each button says why it is off: its tooltip is the refusal, empty when it is on.
    const QString noEntry = tr("Select an entry of the history first.");
    const QString certificateWhy = !entry ? noEntry
        : verified ? certificateRefusal(*entry, LabelSettings::fromSettingsFile(IniFileName))
                   : tr("Only a verified calibration gets a certificate.");
    ComCertificate->setEnabled(certificateWhy.isEmpty());
    ComCertificate->setToolTip(certificateWhy);
    const QString releaseWhy = entry ? releaseRefusal(*entry, Releaser::thisAccount()) : noEntry;
    ComRelease->setEnabled(releaseWhy.isEmpty());
    ComRelease->setToolTip(releaseWhy);
}

void HistoryWindow::ComRelease_Click()
{
    const std::optional<int> row = selectedRow();
    const std::optional<RecordEntry> entry = row ? entryOfRow(*row) : std::nullopt;
    if (!entry)
        return;
    const Releaser me = Releaser::thisAccount();
    const QString question =
        tr("Release entry %1 (certificate %2, serial number %3, written by %4) as %5?\n\nThe "
           "release is kept in the calibration record and cannot be undone.")
            .arg(QString::number(entry->id), entry->certificate, entry->serial,
                 entry->technician.isEmpty() ? entry->account : entry->technician, me.name);
    if (msgBox(question, MsgButtons::YesNo, MsgIcon::Question, windowTitle()) != MsgResult::Yes)
        return;
    RecordEntry released;
    if (m_record.release(entry->id, me, QDateTime::currentDateTimeUtc(), released)
        == CalibRecord::Release::Done)
        showMessage(tr("Entry %1 released by %2.").arg(released.id).arg(released.releasedBy));
    else
        msgBox(m_record.errorText(), MsgButtons::Ok, MsgIcon::Stop, windowTitle());
    updateEntryButtons();
}

void HistoryWindow::ComLabel_Click()
{
    const std::optional<RecordEntry> entry = selectedVerifiedEntry();
    if (!entry)
        return;
    const LabelPrint printed = printEntryLabel(*entry, AskPrinter::WhenNoneSet, this);
    if (printed.sent)
        showMessage(printed.text);
    else if (!printed.text.isEmpty())
        msgBox(printed.text, MsgButtons::Ok, MsgIcon::Stop, windowTitle());
}

void HistoryWindow::ComCertificate_Click()
{
    if (const std::optional<RecordEntry> entry = selectedVerifiedEntry())
        saveEntryCertificate(*entry, this);
}

void HistoryWindow::showEntry(int row)
{
    const std::optional<RecordEntry> entry = entryOfRow(row);
    if (!entry)
        return;
    // The verdict of the walk if it is done; this entry's own place in the chain otherwise.
    QString chain = m_verdict ? m_verdict->text() : tr("being checked");
    if (m_verdict && m_verdict->kind == ChainVerdict::Kind::Broken && m_verdict->id == entry->id)
        chain = tr("this entry breaks it: ") + chain;
    msgBox(entryText(*entry) + tr("\n\nChain: ") + chain, MsgButtons::Ok, MsgIcon::Information,
           windowTitle());
}

void HistoryWindow::ComExport_Click()
{
    const QString path = m_chooseFile(this);
    if (path.isEmpty())
        return;
    // A failed export leaves no half-written file: the old file stays until the new one is whole.
    QSaveFile file(path);
    const bool exported = file.open(QIODevice::WriteOnly)
        && writeCsv(m_record, m_model->filter(), file) && file.commit();
    if (!exported) {
        const QString reason =
            file.error() != QFileDevice::NoError ? file.errorString() : m_record.errorText();
        msgBox(tr("The record could not be exported to %1.\n\n%2")
                   .arg(QDir::toNativeSeparators(path), reason),
               MsgButtons::Ok, MsgIcon::Stop);
    }
}
