#include "FormNoiseTable.h"

#include "NoiseInputs.h"
#include "NoisePlot.h"
#include "board/BoardLink.h"
#include "board/NoiseSweep.h"
#include "data/NoiseTable.h"
#include "data/WholeFile.h"
#include "model/QM4168.h"
#include "platform/SettingsStore.h"
#include "platform/UserDialogs.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("FormNoiseTable");

} // namespace

FormNoiseTable::FormNoiseTable(QM4168 &model, BoardLink &link, UserDialogs &dialogs, SettingsStore *settings,
                               QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_link(link)
    , m_dialogs(dialogs)
    , m_settings(settings)
    , m_sweep(new NoiseSweep(model, link, this))
{
    setObjectName(QStringLiteral("FormNoiseTable"));
    setWindowTitle(QStringLiteral("Noise Table"));

    SpinChannel = new QSpinBox(this);
    SpinChannel->setObjectName(QStringLiteral("SpinChannel"));
    SpinChannel->setRange(0, 7);
    TxtFilterWords = new QLineEdit(QStringLiteral("3,8,17,40,80,127"), this);
    TxtFilterWords->setObjectName(QStringLiteral("TxtFilterWords"));
    CmbChop = new QComboBox(this);
    CmbChop->setObjectName(QStringLiteral("CmbChop"));
    CmbChop->addItems({QStringLiteral("on"), QStringLiteral("off"), QStringLiteral("both")});
    TxtRanges = new QLineEdit(NoiseInputs::rangeNames({0}, model), this);
    TxtRanges->setObjectName(QStringLiteral("TxtRanges"));
    SpinSamples = new QSpinBox(this);
    SpinSamples->setObjectName(QStringLiteral("SpinSamples"));
    SpinSamples->setRange(4, 8192);
    SpinSamples->setValue(1000);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Channel"), SpinChannel);
    form->addRow(QStringLiteral("Filter words or times"), TxtFilterWords);
    form->addRow(QStringLiteral("Chop"), CmbChop);
    form->addRow(QStringLiteral("Ranges"), TxtRanges);
    TxtFilterWords->setToolTip(QStringLiteral("Filter words 2..127, or conversion times such as 1000 us"));
    TxtRanges->setToolTip(QStringLiteral("Ranges as the setup window names them, separated by semicolons"));
    form->addRow(QStringLiteral("Samples"), SpinSamples);

    CmdStart = new QPushButton(QStringLiteral("Start"), this);
    CmdStart->setObjectName(QStringLiteral("CmdStart"));
    CmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    CmdCancel->setObjectName(QStringLiteral("CmdCancel"));
    CmdCancel->setEnabled(false);
    Progress = new QProgressBar(this);
    Progress->setObjectName(QStringLiteral("Progress"));
    LblStatus = new QLabel(this);
    LblStatus->setObjectName(QStringLiteral("LblStatus"));
    LblStatus->setWordWrap(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CmdStart);
    buttons->addWidget(CmdCancel);
    auto *exports = new QHBoxLayout;
    for (const QString &format :
         {QStringLiteral("CSV"), QStringLiteral("Markdown"), QStringLiteral("PNG"), QStringLiteral("PDF")}) {
        auto *button = new QPushButton(format, this);
        button->setObjectName(QStringLiteral("CmdExport") + format);
        connect(button, &QPushButton::clicked, this, [this, format] { exportTo(format); });
        exports->addWidget(button);
    }
    auto *left = new QVBoxLayout;
    left->addLayout(form);
    left->addLayout(buttons);
    left->addWidget(Progress);
    left->addWidget(LblStatus);
    left->addStretch();
    left->addWidget(new QLabel(QStringLiteral("Export"), this));
    left->addLayout(exports);

    Table = new QTableWidget(0, 12, this);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setHorizontalHeaderLabels({QStringLiteral("FW"), QStringLiteral("Chop"),
                                      QStringLiteral("Conv.Time (us)"), QStringLiteral("Rate (Hz)"),
                                      QStringLiteral("Range"), QStringLiteral("Samples"),
                                      QStringLiteral("RMS Noise (uV)"), QStringLiteral("Pk-Pk Noise (uV)"),
                                      QStringLiteral("RMS Res. (bits)"), QStringLiteral("Pk-Pk Res. (bits)"),
                                      QStringLiteral("Pk-Pk Est. (uV)"), QStringLiteral("Est. Res. (bits)")});
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->verticalHeader()->setVisible(false);
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Plot = new NoisePlot(this);
    Plot->setObjectName(QStringLiteral("Plot"));
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(Table);
    split->addWidget(Plot);
    split->setSizes({260, 380});

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(split, 1);
    resize(1060, 700);

    restoreInputs();
    connect(CmdStart, &QPushButton::clicked, this, &FormNoiseTable::start);
    connect(CmdCancel, &QPushButton::clicked, this, &FormNoiseTable::cancel);
    connect(m_sweep, &NoiseSweep::rowAdded, this, &FormNoiseTable::addRow);
    connect(m_sweep, &NoiseSweep::progress, this, [this](int done, int total, const QString &current) {
        Progress->setRange(0, total);
        Progress->setValue(done);
        LblStatus->setText(current.isEmpty()
                               ? QStringLiteral("%1 rows").arg(done)
                               : QStringLiteral("Row %1 of %2: %3").arg(done + 1).arg(total).arg(current));
    });
}

FormNoiseTable::~FormNoiseTable()
{
    m_sweep->cancel();
}

void FormNoiseTable::restoreInputs()
{
    if (!m_settings)
        return;
    SpinChannel->setValue(
        m_settings->get(Section, QStringLiteral("Channel"), QString::number(SpinChannel->value())).toInt());
    TxtFilterWords->setText(m_settings->get(Section, QStringLiteral("Timing"), TxtFilterWords->text()));
    CmbChop->setCurrentIndex(
        qBound(0, m_settings->get(Section, QStringLiteral("Chop"), QStringLiteral("0")).toInt(), 2));
    TxtRanges->setText(m_settings->get(Section, QStringLiteral("Ranges"), TxtRanges->text()));
    SpinSamples->setValue(
        m_settings->get(Section, QStringLiteral("Samples"), QString::number(SpinSamples->value())).toInt());
}

void FormNoiseTable::saveInputs()
{
    if (!m_settings)
        return;
    m_settings->save(Section, QStringLiteral("Channel"), QString::number(SpinChannel->value()));
    m_settings->save(Section, QStringLiteral("Timing"), TxtFilterWords->text());
    m_settings->save(Section, QStringLiteral("Chop"), QString::number(CmbChop->currentIndex()));
    m_settings->save(Section, QStringLiteral("Ranges"), TxtRanges->text());
    m_settings->save(Section, QStringLiteral("Samples"), QString::number(SpinSamples->value()));
}

void FormNoiseTable::start()
{
    NoiseSweepSettings settings;
    settings.channel = SpinChannel->value();
    QString error;
    NoiseInputs::timing(TxtFilterWords->text(), settings.filterWords, settings.conversionTimesUs, error);
    if (error.isEmpty())
        settings.ranges = NoiseInputs::ranges(TxtRanges->text(), m_model, error);
    settings.samples = SpinSamples->value();
    const int chop = CmbChop->currentIndex();
    settings.chops = chop == 0   ? QList<bool>{true}
                     : chop == 1 ? QList<bool>{false}
                                 : QList<bool>{true, false};
    const QString title = QStringLiteral("Noise Table");
    if (!error.isEmpty()) {
        m_dialogs.message(error, UserDialogs::Icon::Warning, title);
        return;
    }
    saveInputs();
    if (settings.channel > m_model.MaxChannel()) {
        m_dialogs.message(
            QStringLiteral("Channel %1 does not exist on this converter.").arg(settings.channel),
            UserDialogs::Icon::Warning, title);
        return;
    }
    if (!m_link.isPortOpen()) {
        m_dialogs.message(QStringLiteral("No evaluation board is connected."), UserDialogs::Icon::Warning,
                          title);
        return;
    }
    m_rows.clear();
    Table->setRowCount(0);
    Plot->setRows({});
    setRunning(true);
    const bool completed = m_sweep->run(settings);
    setRunning(false);
    if (!completed) {
        const QString message = m_sweep->stopMessage();
        LblStatus->setText(message);
        m_dialogs.message(message.left(1).toUpper() + message.mid(1) +
                              QStringLiteral(". The rows so far are kept."),
                          UserDialogs::Icon::Warning, title);
    }
}

void FormNoiseTable::cancel()
{
    m_sweep->cancel();
}

void FormNoiseTable::setRunning(bool running)
{
    CmdStart->setEnabled(!running);
    CmdCancel->setEnabled(running);
}

void FormNoiseTable::addRow(const NoiseRow &r)
{
    m_rows << r;
    const int line = Table->rowCount();
    Table->insertRow(line);
    const QStringList cells = {QString::number(r.filterWord),
                               r.chop ? QStringLiteral("on") : QStringLiteral("off"),
                               QString::number(r.conversionTimeUs, 'f', 2),
                               QString::number(r.dataRateHz, 'f', 2),
                               NoiseTable::rangeText(r.rangeVolts, r.bipolar),
                               QString::number(r.samples),
                               QString::number(r.rmsNoiseUv, 'f', 3),
                               QString::number(r.peakNoiseUv, 'f', 3),
                               QString::number(r.rmsBits, 'f', 2),
                               QString::number(r.peakBits, 'f', 2),
                               QString::number(r.peakEstimatedUv, 'f', 3),
                               QString::number(r.peakEstimatedBits, 'f', 2)};
    for (int c = 0; c < cells.size(); ++c) {
        auto *item = new QTableWidgetItem(cells.at(c));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Table->setItem(line, c, item);
    }
    Plot->setRows(m_rows);
}

void FormNoiseTable::exportTo(const QString &format)
{
    const QString title = QStringLiteral("Export Noise Table as ") + format;
    UserDialogs::FileFilter filter;
    QString suffix = format.toLower();
    if (format == QLatin1String("Markdown")) {
        filter.filters = {QStringLiteral("Markdown Files (*.md)")};
        suffix = QStringLiteral("md");
    } else if (format == QLatin1String("CSV")) {
        filter.filters = {QStringLiteral("CSV Files (*.csv)")};
    } else if (format == QLatin1String("PNG")) {
        filter.filters = {QStringLiteral("PNG Images (*.png)")};
    } else {
        filter.filters = {QStringLiteral("PDF Documents (*.pdf)")};
    }
    const std::optional<QString> path = m_dialogs.saveFile(title, filter, suffix);
    if (!path)
        return;
    DataFileError error;
    Plot->setExportTitle(
        NoisePlot::exportTitle(SpinChannel->value(), SpinSamples->value(), QDateTime::currentDateTime()));
    if (format == QLatin1String("PNG"))
        error = Plot->savePng(*path);
    else if (format == QLatin1String("PDF"))
        error = Plot->savePdf(*path);
    else
        error = WriteWholeFile(
            *path, (format == QLatin1String("CSV") ? NoiseTable::csv(m_rows) : NoiseTable::markdown(m_rows))
                       .toUtf8());
    if (error.isError())
        m_dialogs.message(QStringLiteral("Cannot write %1: %2").arg(*path, error.message()),
                          UserDialogs::Icon::Warning, title);
}
