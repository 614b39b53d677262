#include "FormEasyStart.h"

#include "AppContext.h"
#include "platform/SettingsStore.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FormEasyStart::FormEasyStart(AppContext &context, BoardLink &link, UserDialogs &dialogs,
                             SettingsStore &settings, std::unique_ptr<EasyStartSteps::Windows> windows,
                             QWidget *parent)
    : QWidget(parent)
    , m_windows(std::move(windows))
    , m_steps(std::make_unique<EasyStartSteps>(context.IADC, link, context.IData, dialogs, *m_windows))
    , m_settings(settings)
{
    setObjectName(QStringLiteral("FormEasyStart"));
    setWindowTitle(QStringLiteral("Easy Start"));
    auto *layout = new QVBoxLayout(this);

    // Shown top to bottom; the fifth and sixth lines carry the indices 5 and 4.
    const QStringList lines = EasyStartSteps::instructions(context.VariantCode);
    const int indexOfLine[] = {0, 1, 2, 3, 5, 4, 6};
    for (int i = 0; i < lines.size(); ++i)
        Label1 << nullptr;
    for (int line = 0; line < lines.size(); ++line) {
        auto *label = new QLabel(lines.at(line), this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(indexOfLine[line]));
        Label1[indexOfLine[line]] = label;
        layout->addWidget(label);
        if (line == 2 || line == 5)
            layout->addSpacing(8);
    }

    // Each step button carries its number in front, so the order reads at a glance.
    auto button = [this, layout](const char *name, const QString &caption, void (EasyStartSteps::*step)()) {
        auto *row = new QHBoxLayout;
        auto *number = new QLabel(QStringLiteral("%1.").arg(LabelStep.size() + 1), this);
        number->setObjectName(QStringLiteral("LabelStep%1").arg(LabelStep.size() + 1));
        number->setMinimumWidth(number->fontMetrics().horizontalAdvance(QStringLiteral("00.")));
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        LabelStep << number;
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        row->addWidget(number);
        row->addWidget(b, 1);
        layout->addLayout(row);
        connect(b, &QPushButton::clicked, m_steps.get(), step);
        return b;
    };
    CommandEvalBoard = button("CommandEvalBoard", QStringLiteral("Open the Evaluation Board window"),
                              &EasyStartSteps::CommandEvalBoard);
    CommandComPort =
        button("CommandComPort", QStringLiteral("Select the PC Com Port"), &EasyStartSteps::CommandComPort);
    CommandReset = button("CommandReset", QStringLiteral("Reset the Board and Read All Registers"),
                          &EasyStartSteps::CommandReset);
    CommandADCSetup = button("CommandADCSetup", QStringLiteral("Open the ADC Setup window"),
                             &EasyStartSteps::CommandADCSetup);
    CommandCh0Ch1 = button("CommandCh0Ch1", EasyStartSteps::channelsCaption(context.VariantCode),
                           &EasyStartSteps::CommandCh0Ch1);
    Cmd_24Bits =
        button("Cmd_24Bits", QStringLiteral("Select 24 Bits Data Width"), &EasyStartSteps::Cmd_24Bits);
    CommandData = button("CommandData", QStringLiteral("Open the Data  + Analysis Window"),
                         &EasyStartSteps::CommandData);
    CommandMeasureStart =
        button("CommandMeasureStart", QStringLiteral("Click \"Read Data\" and then \"Start\""),
               &EasyStartSteps::CommandMeasureStart);
    CommandGraphHistogram =
        button("CommandGraphHistogram", QStringLiteral("Try Graph"), &EasyStartSteps::CommandGraphHistogram);

    CheckNoEasyStart = new QCheckBox(QStringLiteral("Don't show this window next time"), this);
    CheckNoEasyStart->setObjectName(QStringLiteral("CheckNoEasyStart"));
    layout->addWidget(CheckNoEasyStart);
    CheckNoEasyStart->setChecked(m_settings.get(QStringLiteral("FormMain"), QStringLiteral("EasyStart"),
                                                QStringLiteral("0")) == QLatin1String("1"));
}

FormEasyStart::~FormEasyStart() = default;

void FormEasyStart::storeSetting()
{
    m_settings.save(QStringLiteral("FormMain"), QStringLiteral("EasyStart"),
                    CheckNoEasyStart->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void FormEasyStart::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous()) // not when the main window is only minimised
        storeSetting();
    QWidget::hideEvent(event);
}
