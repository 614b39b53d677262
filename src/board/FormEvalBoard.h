#pragma once

#include <QWidget>

class BoardLink;
class QCheckBox;
class CommitLineEdit;
class QComboBox;
class QGroupBox;
class QM4168;
class QPushButton;
class QSpinBox;

// "Evaluation Board": the serial port, the converter's master clock, the DAC, the reset
// buttons and the switches of the register synchronisation (check boxes, so that they
// read as on or off beside the command buttons). The link itself (BoardLink)
// does the talking; this window is its face.
class FormEvalBoard : public QWidget
{
    Q_OBJECT

public:
    FormEvalBoard(QM4168 &model, BoardLink &link, const QStringList &ports, QWidget *parent = nullptr);

    BoardLink &link() { return m_link; }

    // Board operations for the other windows.
    QString BrdReset();
    int RegReadAll();
    int RegWriteAll();

    // Clamps code to 0..4095 (written back) and moves the DAC spinner there, which sends
    // the new code to the board.
    void ChangeDACVoltage(int &code);
    int dacCode() const;

    // The port list: select an entry by index (opens or closes the port as the user's
    // choice would) and read the choice back.
    void selectPort(int index);
    int portIndex() const;
    QString portName() const;
    // The clock box's text, and putting the model's clock into it.
    QString clockText() const;
    void showModelClock();

    QComboBox *ComboMCLK;
    QComboBox *ComboComPort;
    QPushButton *CommandADCReset;
    QPushButton *CommandReset;
    QCheckBox *CheckAutoWriteReg;
    QPushButton *CommandWriteAll;
    QCheckBox *CheckAutoWriteADC;
    QCheckBox *CheckAutoUpdate;
    QCheckBox *CheckRegularUpdate;
    QPushButton *CommandReadAll;
    CommitLineEdit *TextDACVoltage;
    CommitLineEdit *TextDAC;
    QSpinBox *UpDownDAC;

Q_SIGNALS:
    // The DAC code changed (the main window mirrors it).
    void dacChanged(int code);
    // The converter was reset by "Reset ADC (32 x one)": the reset dialog shows message.
    void converterReset(const QString &message);
    // A typed master clock that is not a number above 0 was refused (the clock stays).
    void clockRefused(const QString &message);

private:
    QGroupBox *frame(const QString &caption);
    QCheckBox *toggle(const QString &name, const QString &caption, bool on);
    void onDacSpinner(int code);
    void onClockEntered();
    void onPortChosen(int index);
    void onAdcReset();

    QM4168 &IADC;
    BoardLink &m_link;
    bool m_choosingPort = false;
};
