#include "FormContRead.h"

#include "BoardLink.h"
#include "ContReadCounts.h"
#include "LiveTimePlot.h"
#include "controls/CommitLineEdit.h"
#include "controls/UpDownSpinner.h"
#include "data/CaptureSet.h"
#include "data/ClassData.h"
#include "model/NumericText.h"
#include "model/QM4168.h"
#include "model/Rounding.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

FormContRead::FormContRead(QM4168 &model, ClassData &store, BoardLink &link, int &amount, QWidget *parent)
    : QDialog(parent)
    , IADC(model)
    , IData(store)
    , m_link(link)
    , m_amount(amount)
    , m_series(link)
{
    setObjectName(QStringLiteral("FormContRead"));
    setWindowTitle(QStringLiteral("Continuous Read Mode"));
    setModal(true);

    const auto label = [this](const char *name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    TextContReadAmount = new CommitLineEdit(QStringLiteral("100"), this);
    TextContReadAmount->setObjectName(QStringLiteral("TextContReadAmount"));
    TextContReadAmount->setMaximumWidth(70);
    // The spinner steps the amount the box shows.
    UpDownContReadAmount = new UpDownSpinner(this);
    UpDownContReadAmount->setObjectName(QStringLiteral("UpDownContReadAmount"));
    UpDownContReadAmount->setRange(0, ContReadCounts::MaxAmount);
    UpDownContReadAmount->setSingleStep(1);
    LabelSamples = label("LabelSamples", QStringLiteral("Samples/channel"));
    SpinCaptures = new QSpinBox(this);
    SpinCaptures->setObjectName(QStringLiteral("SpinCaptures"));
    SpinCaptures->setRange(1, CaptureSeries::MaxCaptures);
    SpinCaptures->setEnabled(false);
    LabelCaptures = label("LabelCaptures", QStringLiteral("Captures"));
    LabelCapture = label("LabelCapture", QString());
    Label1 = label("Label1", QStringLiteral("No channel enabled"));
    Label2 = label("Label2", QString());
    Label3 = label("Label3", QString());
    LabelStatus = label("LabelStatus", QString());
    ProgressTransfer = new QProgressBar(this);
    ProgressTransfer->setObjectName(QStringLiteral("ProgressTransfer"));
    ProgressTransfer->setRange(0, 1);
    ProgressTransfer->setValue(0);
    ProgressTransfer->setTextVisible(false);
    LabelProgress = label("LabelProgress", QString());
    CommandStart = new QPushButton(QStringLiteral("Start"), this);
    CommandStart->setObjectName(QStringLiteral("CommandStart"));
    CommandCancel = new QPushButton(QStringLiteral("Cancel"), this);
    CommandCancel->setObjectName(QStringLiteral("CommandCancel"));
    CommandCancel->setAutoDefault(false);

    auto *grid = new QGridLayout(this);
    grid->addWidget(TextContReadAmount, 0, 0);
    grid->addWidget(UpDownContReadAmount, 0, 1);
    grid->addWidget(LabelSamples, 0, 2);
    grid->addWidget(CommandStart, 0, 3);
    grid->addWidget(Label1, 1, 0, 1, 3);
    grid->addWidget(CommandCancel, 1, 3);
    grid->addWidget(Label2, 2, 0, 1, 3);
    grid->addWidget(Label3, 3, 0, 1, 3);
    grid->addWidget(SpinCaptures, 4, 0, 1, 2);
    grid->addWidget(LabelCaptures, 4, 2);
    grid->addWidget(LabelCapture, 4, 3);
    grid->addWidget(LabelStatus, 5, 0, 1, 4);
    grid->addWidget(ProgressTransfer, 6, 0, 1, 4);
    grid->addWidget(LabelProgress, 7, 0, 1, 4);
    PlotLive = new LiveTimePlot(m_link.contRead().live(), this);
    grid->addWidget(PlotLive, 0, 4, 8, 1);
    setMinimumWidth(340);

    connect(CommandStart, &QPushButton::clicked, this, &FormContRead::CommandStart_Click);
    connect(CommandCancel, &QPushButton::clicked, this, &FormContRead::reject);
    connect(TextContReadAmount, &CommitLineEdit::committed, this, &FormContRead::amountEntered);
    // Enter in the amount box takes the amount and moves on to Start; it does not start.
    TextContReadAmount->installEventFilter(this);
    connect(UpDownContReadAmount, &QSpinBox::valueChanged, this, [this](int value) {
        if (value == m_amount)
            return;
        m_amount = value;
        RefreshCounts();
    });
    ContinuousRead &read = m_link.contRead();
    connect(&read, &ContinuousRead::LabelStatus, LabelStatus, &QLabel::setText);
    connect(&read, &ContinuousRead::progress, this, &FormContRead::onProgress);
    connect(&m_series, &CaptureSeries::captureStarted, this, [this](int index, int count) {
        if (count > 1)
            LabelCapture->setText(QStringLiteral("Capture %1 of %2").arg(index).arg(count));
    });
    connect(SpinCaptures, &QSpinBox::valueChanged, this, [this](int value) {
        if (m_captureCount)
            *m_captureCount = value;
    });

    RefreshCounts();
}

void FormContRead::setCaptures(CaptureSet &captures, int &count)
{
    m_captures = &captures;
    m_captureCount = &count;
    count = qBound(1, count, CaptureSeries::MaxCaptures);
    SpinCaptures->setValue(count);
    SpinCaptures->setEnabled(CommandStart->isEnabled());
}

void FormContRead::RefreshCounts()
{
    const ContReadCounts counts = ContReadCounts::refresh(IADC.ChannelCount(), IADC.DataWidth(-1), m_amount,
                                                          IData.MaxBytes(), IData.MinCount());
    m_amount = counts.amount;
    Label1->setText(counts.channelsText);
    CommandStart->setEnabled(counts.enabled && !m_acquiring);
    TextContReadAmount->setEnabled(counts.enabled && !m_acquiring);
    UpDownContReadAmount->setEnabled(counts.enabled && !m_acquiring);
    SpinCaptures->setEnabled(counts.enabled && !m_acquiring && m_captures);
    Label2->setText(counts.samplesText);
    Label3->setText(counts.bytesText);
    LabelStatus->setText(counts.statusText);
    showAmount();
}

void FormContRead::showAmount()
{
    TextContReadAmount->setText(QString::number(m_amount));
    const QSignalBlocker quiet(UpDownContReadAmount);
    UpDownContReadAmount->setValue(m_amount);
}

void FormContRead::amountEntered()
{
    if (m_acquiring)
        return;
    m_amount = roundToInt(numericValue(TextContReadAmount->text()));
    RefreshCounts();
    if (CommandStart->isEnabled() && TextContReadAmount->hasFocus())
        CommandStart->setFocus();
}

void FormContRead::CommandStart_Click()
{
    if (m_acquiring)
        return;
    amountEntered(); // an amount typed but not yet entered counts
    if (!CommandStart->isEnabled())
        return;
    m_acquiring = true;
    CommandStart->setEnabled(false);
    TextContReadAmount->setEnabled(false);
    UpDownContReadAmount->setEnabled(false);
    SpinCaptures->setEnabled(false);
    CaptureSet single;
    m_result = m_series.run(m_captures ? SpinCaptures->value() : 1, m_amount, IData,
                            m_captures ? *m_captures : single);
    m_acquiring = false;
    accept();
}

bool FormContRead::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TextContReadAmount && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            amountEntered();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FormContRead::reject()
{
    if (m_acquiring) {
        // The acquisition notices and winds down; Start closes the dialog when it returns.
        m_series.cancel(); // the running read ends, and no further capture starts
        LabelStatus->setText(QStringLiteral("Cancelling\u2026")); // winding down takes a moment
        return;
    }
    QDialog::reject();
}

void FormContRead::onProgress(int received, int total, qint64 elapsedMs)
{
    ProgressTransfer->setRange(0, qMax(1, total));
    ProgressTransfer->setValue(received);
    LabelProgress->setText(ContinuousRead::progressText(received, total, elapsedMs));
}
