#include "historywindow.h"

#include "historymodel.h"
#include "uiservices.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QString askExportFile(QWidget *parent)
{
    return QFileDialog::getSaveFileName(
        parent, QStringLiteral("Export CSV"),
        QDir::home().filePath(QStringLiteral("VeltraCalibRecord.csv")),
        QStringLiteral("CSV files (*.csv);;All files (*)"));
}

} // namespace

HistoryWindow::HistoryWindow(const RecordSettings &settings, QWidget *parent)
    : QDialog(parent),
      m_record(settings),
      m_chooseFile(askExportFile)
{
    setWindowTitle(QStringLiteral("History"));
    resize(960, 540);

    auto *filterLabel = new QLabel(QStringLiteral("Serial No. :"), this);
    TextSerial = new QLineEdit(this);
    TextSerial->setClearButtonEnabled(true);
    TextSerial->setPlaceholderText(QStringLiteral("all instruments"));
    filterLabel->setBuddy(TextSerial);
    ComExport = new QPushButton(QStringLiteral("&Export CSV..."), this);
    ComClose = new QPushButton(QStringLiteral("Close"), this);
    LabelMessage = new QLabel(this);
    LabelMessage->setWordWrap(true);
    LabelMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LabelMessage->hide();

    m_model = new HistoryModel(m_record, this);
    TableRecord = new QTableView(this);
    TableRecord->setModel(m_model);
    TableRecord->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableRecord->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableRecord->setWordWrap(false);
    TableRecord->verticalHeader()->hide();
    // Fixed row heights: the view never measures rows it does not show.
    TableRecord->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    TableRecord->horizontalHeader()->setStretchLastSection(true);
    connect(m_model, &HistoryModel::readFailed, this, &HistoryWindow::showReadError);
    connect(m_model, &QAbstractItemModel::modelReset, LabelMessage, &QLabel::hide);
    // Turning sorting on reads the first page, newest first.
    TableRecord->horizontalHeader()->setSortIndicator(HistoryModel::Time, Qt::DescendingOrder);
    TableRecord->setSortingEnabled(true);

    auto *top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(TextSerial, 1);
    top->addStretch(2);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(ComExport);
    bottom->addStretch(1);
    bottom->addWidget(ComClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(LabelMessage);
    layout->addWidget(TableRecord, 1);
    layout->addLayout(bottom);

    connect(TextSerial, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_model->setSerialFilter(text.trimmed()); });
    connect(ComExport, &QPushButton::clicked, this, &HistoryWindow::ComExport_Click);
    connect(ComClose, &QPushButton::clicked, this, &QDialog::accept);
}

HistoryWindow::~HistoryWindow()
{
    // Children go after the members: the model, which reads through m_record, must go first.
    delete m_model;
}

void HistoryWindow::setExportFileChooser(std::function<QString(QWidget *)> chooser)
{
    m_chooseFile = std::move(chooser);
}

void HistoryWindow::showReadError(const QString &text)
{
    LabelMessage->setText(text);
    LabelMessage->show();
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
        msgBox(QStringLiteral("The record could not be exported to %1.\n\n%2")
                   .arg(QDir::toNativeSeparators(path), reason),
               MsgButtons::Ok, MsgIcon::Stop);
    }
}
