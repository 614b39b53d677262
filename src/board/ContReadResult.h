#pragma once

#include <QString>

// How one continuous read ended, and what the user is told about it. Only a completed
// transfer changes the sample store; every other outcome leaves the data held before.
struct ContReadResult
{
    enum Outcome
    {
        NotRun,     // the dialog closed without a start
        LinkClosed, // the port was not open
        LinkBusy,   // another exchange was on the wire
        NoAnswer,   // nobody answered the request in time
        Refused,    // the answer was not "[C " or announced no bytes
        Cancelled,  // the user cancelled
        Stopped,    // the board stopped sending in the middle of the transfer
        Lost,       // the port went away
        Completed
    };

    Outcome outcome = NotRun;
    QString answer;    // the 8 bytes that answered the request, as text
    int announced = 0; // data bytes the board announced
    int received = 0;  // data bytes taken as records
    int records = 0;   // records handed to the store

    bool completed() const { return outcome == Completed; }
    // What happened, for a message box or the terminal; empty when there is nothing to say.
    QString message() const;
};
