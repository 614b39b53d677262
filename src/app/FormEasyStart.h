#pragma once

#include "EasyStartSteps.h"

#include <QList>
#include <QWidget>

#include <memory>

struct AppContext;
class BoardLink;
class QCheckBox;
class QLabel;
class QPushButton;
class SettingsStore;
class UserDialogs;

// "Easy Start": how to connect the board, and a column of buttons that take a new user
// through a first measurement (EasyStartSteps). The check box decides whether the wizard
// opens by itself at the next start; its state is stored whenever the wizard closes.
class FormEasyStart : public QWidget
{
    Q_OBJECT

public:
    FormEasyStart(AppContext &context, BoardLink &link, UserDialogs &dialogs, SettingsStore &settings,
                  std::unique_ptr<EasyStartSteps::Windows> windows, QWidget *parent = nullptr);
    ~FormEasyStart() override;

    EasyStartSteps &steps() { return *m_steps; }
    // Stores the check box state under FormMain/EasyStart ("0" or "1").
    void storeSetting();

    QList<QLabel *> Label1;    // by index, as the instruction table numbers them
    QList<QLabel *> LabelStep; // "1." .. "9." beside the step buttons, top to bottom
    QPushButton *CommandEvalBoard;
    QPushButton *CommandComPort;
    QPushButton *CommandReset;
    QPushButton *CommandADCSetup;
    QPushButton *CommandCh0Ch1;
    QPushButton *Cmd_24Bits;
    QPushButton *CommandData;
    QPushButton *CommandMeasureStart;
    QPushButton *CommandGraphHistogram;
    QCheckBox *CheckNoEasyStart;

protected:
    // Closing the wizard, by its close box or with the program, stores the check box.
    void hideEvent(QHideEvent *event) override;

private:
    std::unique_ptr<EasyStartSteps::Windows> m_windows;
    std::unique_ptr<EasyStartSteps> m_steps;
    SettingsStore &m_settings;
};
