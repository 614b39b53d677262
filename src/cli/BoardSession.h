#pragma once

#include "CliDialogs.h"
#include "board/BoardLink.h"
#include "model/QM4168.h"

#include <QString>

// The board as the command-line tool uses it: a device model prepared as the program's
// start-up prepares it (variant, register design, power-on image), and a board link on the
// chosen port. "sim" (or "Simulated board") is the built-in simulated board.
class BoardSession
{
public:
    explicit BoardSession(int variantCode);

    // Opens the port and checks with one exchange (a read of the revision register) that a
    // board answers, so that a silent port fails in seconds rather than per register. On
    // failure the reason has gone to standard error.
    bool connect(const QString &port);

    BoardLink &link() { return m_link; }
    QM4168 &model() { return m_model; }
    int variantCode() const { return m_variantCode; }
    // The continuous-read dialog was asked for (the converter is in continuous-read mode).
    bool contReadMet() const { return m_contReadMet; }

    static SerialPortFactory portFactory();

private:
    int m_variantCode;
    QM4168 m_model;
    CliDialogs m_dialogs;
    BoardLink m_link;
    bool m_contReadMet = false;
};
