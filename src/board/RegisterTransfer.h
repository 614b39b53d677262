#pragma once

class BoardHooks;
class QM4168;
class SerialLink;

// Moves registers between the device model and the converter: one register at a time
// (RegWriteOne, RegReadOne: the communications byte, then the data bytes, most significant
// first) and the bulk transfers built on them. Values read are written into the model with
// send false, so the views refresh and nothing is written back. Bulk transfers neither look
// at nor change who may start register traffic (RegisterSync) and are never recorded.
//
// Every operation returns how many register exchanges the board answered. A register whose
// exchange got no answer keeps its value in the model.
class RegisterTransfer
{
public:
    RegisterTransfer(QM4168 &model, SerialLink &link, BoardHooks &hooks);

    bool RegWriteOne(int address);
    // False also when the converter is in continuous-read mode and the register cannot be
    // read (the continuous-read dialog is asked for instead).
    bool RegReadOne(int address);

    int RegWriteAll();
    int RegReadAll();
    int RegReadChAll(int channel);
    int RegReadChState(int channel);
    int RegReadState();

    // Channel data (08h..0Fh) and channel status (20h..27h) registers.
    static bool isDataOrStatus(int address);

private:
    // Reads the mode register; true when the converter turned out to be in continuous-read
    // mode, in which case the continuous-read dialog has been asked for.
    bool readModeFindsContRead(int &answered);
    // Mode, I/O port, ADC status, then status (unless dumped) and data of channels first..last.
    int readStates(int first, int last);

    QM4168 &m_model;
    SerialLink &m_link;
    BoardHooks &m_hooks;
};
