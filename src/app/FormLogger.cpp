#include "FormLogger.h"

#include "analysis/PlotView.h"
#include "history/HistoryRecorder.h"
#include "history/LoggerRun.h"
#include "platform/UserDialogs.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

template<typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

const char *const Captions[] = {"Mean Code (Dec)", "Mean Voltage (V)", "RMS Noise (V)"};

} // namespace

FormLogger::FormLogger(QM4168 &model, ClassData &store, BoardLink &link, HistoryRecorder &recorder,
                       UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_store(store)
    , m_link(link)
    , m_recorder(recorder)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("FormLogger"));
    setWindowTitle(QStringLiteral("Logger"));
    SpinInterval = named(new QDoubleSpinBox(this), "SpinInterval");
    SpinInterval->setRange(0, 86400);
    SpinInterval->setDecimals(1);
    SpinInterval->setValue(60);
    SpinInterval->setSuffix(QStringLiteral(" s"));
    SpinSamples = named(new QSpinBox(this), "SpinSamples");
    SpinSamples->setRange(4, 32768);
    SpinSamples->setValue(1000);
    SpinCount = named(new QSpinBox(this), "SpinCount");
    SpinCount->setRange(0, 1000000);
    SpinCount->setSpecialValueText(QStringLiteral("until stopped"));
    ComboChannel = named(new QComboBox(this), "ComboChannel");
    for (int c = 0; c < 8; ++c)
        ComboChannel->addItem(QStringLiteral("Channel %1").arg(c));
    ComboQuantity = named(new QComboBox(this), "ComboQuantity");
    for (const char *caption : Captions)
        ComboQuantity->addItem(QString::fromLatin1(caption).section(QLatin1String(" ("), 0, 0));
    CommandStart = named(new QPushButton(QStringLiteral("Start"), this), "CommandStart");
    CommandStop = named(new QPushButton(QStringLiteral("Stop"), this), "CommandStop");
    LabelStatus = named(new QLabel(this), "LabelStatus");
    Plot = named(new PlotView(dialogs, this), "Plot");

    auto *settings = new QFormLayout;
    settings->addRow(QStringLiteral("Interval"), SpinInterval);
    settings->addRow(QStringLiteral("Samples per channel"), SpinSamples);
    settings->addRow(QStringLiteral("Captures"), SpinCount);
    auto *buttons = new QHBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(CommandStart), static_cast<QWidget *>(CommandStop),
                       static_cast<QWidget *>(ComboChannel), static_cast<QWidget *>(ComboQuantity)})
        buttons->addWidget(w);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addLayout(buttons);
    layout->addWidget(LabelStatus);
    layout->addWidget(Plot, 1);
    resize(640, 480);

    connect(CommandStart, &QPushButton::clicked, this, &FormLogger::start);
    connect(CommandStop, &QPushButton::clicked, this, &FormLogger::stop);
    connect(ComboChannel, &QComboBox::currentIndexChanged, this, &FormLogger::redraw);
    connect(ComboQuantity, &QComboBox::currentIndexChanged, this, &FormLogger::redraw);
    showState();
    redraw();
}

FormLogger::~FormLogger() = default;

void FormLogger::start()
{
    HistoryDatabase *db = m_recorder.database(); // a refused database has been told already
    if (!db || (m_run && m_run->running()))
        return;
    m_run = std::make_unique<LoggerRun>(m_model, m_store, m_link, *db);
    connect(m_run.get(), &LoggerRun::captured, this, [this] {
        showState();
        redraw();
    });
    connect(m_run.get(), &LoggerRun::finished, this, [this] {
        showState();
        if (!m_run->error().isEmpty())
            m_dialogs.message(m_run->error(), UserDialogs::Icon::Warning);
    });
    if (!m_run->start(static_cast<int>(SpinInterval->value() * 1000), SpinSamples->value(),
                      SpinCount->value()))
        m_dialogs.message(m_run->error(), UserDialogs::Icon::Warning);
    showState();
    redraw();
}

void FormLogger::stop()
{
    if (m_run)
        m_run->stop();
}

void FormLogger::showState()
{
    const bool running = m_run && m_run->running();
    CommandStart->setEnabled(!running);
    CommandStop->setEnabled(running);
    SpinInterval->setEnabled(!running);
    SpinSamples->setEnabled(!running);
    SpinCount->setEnabled(!running);
    if (!m_run || m_run->runId() == 0) {
        LabelStatus->setText(QString());
        return;
    }
    int failed = 0;
    for (const HistoryEntry &e : m_run->entries())
        failed += e.failure.isEmpty() ? 0 : 1;
    LabelStatus->setText(QStringLiteral("Run %1: %2 captures, %3 failed%4")
                             .arg(m_run->runId())
                             .arg(m_run->entries().size())
                             .arg(failed)
                             .arg(running ? QString() : QStringLiteral(" (ended)")));
}

void FormLogger::redraw()
{
    const int quantity = ComboQuantity->currentIndex();
    Plot->setCaptions(QStringLiteral("Time (s)"), QString::fromLatin1(Captions[qBound(0, quantity, 2)]));
    const PlotTable table = m_run ? LoggerRun::trend(m_run->entries(), ComboChannel->currentIndex(),
                                                     static_cast<LoggerRun::Quantity>(quantity))
                                  : PlotTable();
    if (table.rows() == 0)
        Plot->clear();
    else
        Plot->load(table, table.rows());
}
