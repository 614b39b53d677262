#pragma once

#include "CliDialogs.h"
#include "board/BoardLink.h"
#include "model/QM4168.h"
#include "sim/SimBoard.h"

#include <QString>

// The board as the command-line tool uses it: a device model prepared as the program's
// start-up prepares it (variant, register design, power-on image), and a board link on the
// chosen port. "sim" (or "Simulated board") is the built-in simulated board, unpaced, with a
// converter of the same variant.
class BoardSession
{
public:
    // Messages of the link and of connect() go to dialogs, or to standard error without.
    explicit BoardSession(int variantCode, UserDialogs *dialogs = nullptr);
    // Delivers the link's pending messages first (see deliverMessages).
    ~BoardSession();

    // Opens the port and checks with one exchange (a read of the revision register) that a
    // board answers, so that a silent port fails in seconds rather than per register. On
    // failure the reason has gone to the dialogs' message.
    bool connect(const QString &port);

    BoardLink &link() { return m_link; }
    QM4168 &model() { return m_model; }
    int variantCode() const { return m_variantCode; }
    // How many exchanges a complete read-all and write-all of the variant's registers make.
    int readAllCount() const { return 8 + 6 * (m_model.MaxChannel() + 1); }
    int writeAllCount() const { return 3 + 4 * (m_model.MaxChannel() + 1) + 1; }
    // The addresses a complete read-all visits, in ascending order.
    QList<int> readAllAddresses() const;
    // "the converter is in continuous-read mode; its registers cannot be read (...)"
    static QString contReadMessage(const QString &what);
    // The link tells some things only once the running operation has unwound ("The
    // evaluation board on ... has gone away"); a program that ends right after the
    // operation would lose them. Prints them now.
    void deliverMessages();
    // The continuous-read dialog was asked for (the converter is in continuous-read mode).
    bool contReadMet() const { return m_contReadMet; }
    void clearContReadMet() { m_contReadMet = false; }

private:
    SerialPortFactory portFactory();

    int m_variantCode;
    SimBoard m_simBoard; // behind "sim": the same chip variant as the model
    QM4168 m_model;
    CliDialogs m_cliDialogs;
    UserDialogs *m_dialogs;
    BoardLink m_link;
    bool m_contReadMet = false;
};
