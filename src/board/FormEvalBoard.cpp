#include "FormEvalBoard.h"

#include "BoardLink.h"
#include "DacScale.h"
#include "controls/CommitLineEdit.h"
#include "controls/UpDownSpinner.h"
#include "model/NumericText.h"
#include "model/QM4168.h"
#include "model/Rounding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr auto ConverterResetMessage = "QM4168 has been RESET !";

} // namespace

FormEvalBoard::FormEvalBoard(QM4168 &model, BoardLink &link, const QStringList &ports, QWidget *parent)
    : QWidget(parent)
    , IADC(model)
    , m_link(link)
{
    setObjectName(QStringLiteral("FormEvalBoard"));
    setWindowTitle(QStringLiteral("Evaluation Board"));

    // Conditions: the converter's master clock.
    QGroupBox *conditions = frame(QStringLiteral("Conditions"));
    ComboMCLK = new QComboBox(conditions);
    ComboMCLK->setObjectName(QStringLiteral("ComboMCLK"));
    ComboMCLK->setEditable(true);
    ComboMCLK->setInsertPolicy(QComboBox::NoInsert);
    ComboMCLK->addItems({QStringLiteral("6.144"), QStringLiteral("4.9152")});
    auto *conditionsLayout = new QHBoxLayout(conditions);
    conditionsLayout->addWidget(ComboMCLK);
    conditionsLayout->addWidget(new QLabel(QStringLiteral("MCLK Frequency [MHz]"), conditions));
    connect(ComboMCLK, &QComboBox::activated, this, &FormEvalBoard::onClockEntered);
    auto *clockEdit = new CommitLineEdit(ComboMCLK);
    ComboMCLK->setLineEdit(clockEdit);
    connect(clockEdit, &CommitLineEdit::committed, this, &FormEvalBoard::onClockEntered);

    // Reset.
    QGroupBox *reset = frame(QStringLiteral("Reset"));
    CommandADCReset = new QPushButton(QStringLiteral("Reset ADC (32 x one)"), reset);
    CommandADCReset->setObjectName(QStringLiteral("CommandADCReset"));
    CommandReset = new QPushButton(QStringLiteral("Reset Board"), reset);
    CommandReset->setObjectName(QStringLiteral("CommandReset"));
    auto *resetLayout = new QHBoxLayout(reset);
    resetLayout->addWidget(CommandADCReset);
    resetLayout->addWidget(CommandReset);
    connect(CommandADCReset, &QPushButton::clicked, this, &FormEvalBoard::onAdcReset);
    connect(CommandReset, &QPushButton::clicked, this, [this] { BrdReset(); });

    // Writing and reading switches with their bulk buttons.
    QGroupBox *writing = frame(QStringLiteral("Writing PC -> Board"));
    CheckAutoWriteReg = toggle(QStringLiteral("CheckAutoWriteReg"), QStringLiteral("Auto Write Registers"),
                               m_link.CheckAutoWriteReg());
    CommandWriteAll = new QPushButton(QStringLiteral("Write All Registers"), writing);
    CommandWriteAll->setObjectName(QStringLiteral("CommandWriteAll"));
    CheckAutoWriteADC = toggle(QStringLiteral("CheckAutoWriteADC"), QStringLiteral("Auto Write ADC Set"),
                               m_link.CheckAutoWriteADC());
    auto *writingLayout = new QVBoxLayout(writing);
    writingLayout->addWidget(CheckAutoWriteReg);
    writingLayout->addWidget(CommandWriteAll);
    writingLayout->addWidget(CheckAutoWriteADC);
    connect(CommandWriteAll, &QPushButton::clicked, this, [this] { RegWriteAll(); });
    connect(CheckAutoWriteReg, &QCheckBox::toggled, this,
            [this](bool on) { m_link.setCheckAutoWriteReg(on); });
    connect(CheckAutoWriteADC, &QCheckBox::toggled, this,
            [this](bool on) { m_link.setCheckAutoWriteADC(on); });

    QGroupBox *reading = frame(QStringLiteral("Reading Board -> PC"));
    CheckAutoUpdate = toggle(QStringLiteral("CheckAutoUpdate"), QStringLiteral("Read Automatically"),
                             m_link.CheckAutoUpdate());
    CheckRegularUpdate = toggle(QStringLiteral("CheckRegularUpdate"), QStringLiteral("Read repeatedly"),
                                m_link.CheckRegularUpdate());
    CommandReadAll = new QPushButton(QStringLiteral("Read all registers"), reading);
    CommandReadAll->setObjectName(QStringLiteral("CommandReadAll"));
    auto *readingLayout = new QVBoxLayout(reading);
    readingLayout->addWidget(CheckAutoUpdate);
    readingLayout->addWidget(CheckRegularUpdate);
    readingLayout->addWidget(CommandReadAll);
    connect(CommandReadAll, &QPushButton::clicked, this, [this] { RegReadAll(); });
    connect(CheckAutoUpdate, &QCheckBox::toggled, this, [this](bool on) { m_link.setCheckAutoUpdate(on); });
    connect(CheckRegularUpdate, &QCheckBox::toggled, this,
            [this](bool on) { m_link.setCheckRegularUpdate(on); });

    // The serial port.
    QGroupBox *port = frame(QStringLiteral("Com Port"));
    ComboComPort = new QComboBox(port);
    ComboComPort->setObjectName(QStringLiteral("ComboComPort"));
    ComboComPort->addItems(ports);
    auto *portLayout = new QHBoxLayout(port);
    portLayout->addWidget(ComboComPort);
    connect(ComboComPort, &QComboBox::currentIndexChanged, this, &FormEvalBoard::onPortChosen);

    // The DAC.
    QGroupBox *dac = frame(QStringLiteral("DAC 0-5V"));
    TextDACVoltage = new CommitLineEdit(QStringLiteral("0.000"), dac);
    TextDACVoltage->setObjectName(QStringLiteral("TextDACVoltage"));
    TextDAC = new CommitLineEdit(QStringLiteral("0"), dac);
    TextDAC->setObjectName(QStringLiteral("TextDAC"));
    UpDownDAC = new UpDownSpinner(dac);
    UpDownDAC->setObjectName(QStringLiteral("UpDownDAC"));
    UpDownDAC->setRange(0, DacScale::MaxCode);
    TextDACVoltage->setMaximumWidth(70);
    TextDAC->setMaximumWidth(60);
    auto *dacLayout = new QHBoxLayout(dac);
    dacLayout->addWidget(TextDACVoltage);
    dacLayout->addWidget(new QLabel(QStringLiteral("V"), dac));
    dacLayout->addWidget(TextDAC);
    dacLayout->addWidget(UpDownDAC);
    dacLayout->addStretch();
    connect(UpDownDAC, &QSpinBox::valueChanged, this, &FormEvalBoard::onDacSpinner);
    connect(TextDAC, &CommitLineEdit::committed, this, [this] {
        int code = roundToInt(numericValue(TextDAC->text()));
        ChangeDACVoltage(code);
    });
    connect(TextDACVoltage, &CommitLineEdit::committed, this, [this] {
        int code = DacScale::codeOfVoltage(numericValue(TextDACVoltage->text()));
        ChangeDACVoltage(code);
    });

    auto *grid = new QGridLayout(this);
    grid->addWidget(port, 0, 0);
    grid->addWidget(conditions, 0, 1);
    grid->addWidget(writing, 1, 0);
    grid->addWidget(reading, 1, 1);
    grid->addWidget(reset, 2, 0);
    grid->addWidget(dac, 2, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    showModelClock();
}

QGroupBox *FormEvalBoard::frame(const QString &caption)
{
    auto *box = new QGroupBox(caption, this);
    return box;
}

QCheckBox *FormEvalBoard::toggle(const QString &name, const QString &caption, bool on)
{
    auto *button = new QCheckBox(caption, this);
    button->setObjectName(name);
    button->setChecked(on);
    return button;
}

// ---------------------------------------------------------------------------------------
// Board operations

QString FormEvalBoard::BrdReset()
{
    return m_link.BrdReset();
}

int FormEvalBoard::RegReadAll()
{
    return m_link.RegReadAll();
}

int FormEvalBoard::RegWriteAll()
{
    return m_link.RegWriteAll();
}

void FormEvalBoard::onAdcReset()
{
    m_link.BrdADCReset();
    Q_EMIT converterReset(QString::fromLatin1(ConverterResetMessage));
}

// ---------------------------------------------------------------------------------------
// DAC

void FormEvalBoard::ChangeDACVoltage(int &code)
{
    code = DacScale::clamp(code);
    if (UpDownDAC->value() != code) {
        UpDownDAC->setValue(code);
    } else {
        // Nothing to send, but the boxes show the code again rather than what was typed.
        TextDAC->setText(QString::number(code));
        TextDACVoltage->setText(DacScale::voltageText(code));
    }
}

int FormEvalBoard::dacCode() const
{
    return UpDownDAC->value();
}

void FormEvalBoard::onDacSpinner(int code)
{
    TextDAC->setText(QString::number(code));
    TextDACVoltage->setText(DacScale::voltageText(code));
    Q_EMIT dacChanged(code);
    m_link.BrdDAC(code);
}

// ---------------------------------------------------------------------------------------
// Master clock

QString FormEvalBoard::clockText() const
{
    return ComboMCLK->currentText();
}

void FormEvalBoard::showModelClock()
{
    ComboMCLK->setEditText(QString::number(IADC.Mclk(), 'g', 15));
}

void FormEvalBoard::onClockEntered()
{
    // A clock of 0 MHz or below gives no conversion times (and would not survive a
    // restart): refused where it is typed.
    const QString text = ComboMCLK->currentText();
    const double v = numericValue(text);
    if (!(v > 0.0) || !std::isfinite(v)) {
        showModelClock();
        Q_EMIT clockRefused(QStringLiteral("The MCLK frequency must be a number of MHz above 0, not \"%1\".")
                                .arg(text.trimmed()));
    } else if (v != IADC.Mclk()) {
        IADC.setMclk(v);
    }
}

// ---------------------------------------------------------------------------------------
// Serial port

void FormEvalBoard::selectPort(int index)
{
    if (index < 0 || index >= ComboComPort->count())
        return;
    if (ComboComPort->currentIndex() == index)
        onPortChosen(index);
    else
        ComboComPort->setCurrentIndex(index);
}

int FormEvalBoard::portIndex() const
{
    return ComboComPort->currentIndex();
}

QString FormEvalBoard::portName() const
{
    return ComboComPort->currentText();
}

void FormEvalBoard::onPortChosen(int index)
{
    if (m_choosingPort)
        return;
    if (index <= 0) {
        m_link.ComClose();
        return;
    }
    if (!m_link.ComOpen(ComboComPort->itemText(index))) {
        // The link has shown why; the choice goes back to "Disabled", closing the port.
        m_choosingPort = true;
        ComboComPort->setCurrentIndex(0);
        m_choosingPort = false;
        m_link.ComClose();
    }
}
