#pragma once

class BoardLink;
class QM4168;
class UserDialogs;

// The File menu's settings commands: save the register set-up to a settings file, and open
// one into the model, then offer to write every register to the chip.
class SettingsFileCommands
{
public:
    SettingsFileCommands(QM4168 &adc, BoardLink &link, UserDialogs &dialogs);

    // Cancel in a file dialog does nothing; failures are shown as boxes.
    void save();
    void open();

private:
    QM4168 &m_adc;
    BoardLink &m_link;
    UserDialogs &m_dialogs;
};
