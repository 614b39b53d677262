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
        WrongCount, // the answer announced another byte count than requested
        BadRecord,  // a record named a channel not enabled, or out of the enabled order
        BoardReset, // the board announced a reset during the request or the transfer
        Unclosed,   // all records came, the closing bytes did not
        Completed
    };

    Outcome outcome = NotRun;
    QString answer;      // the 8 bytes that answered the request, as text
    int announced = 0;   // data bytes the board announced
    int received = 0;    // data bytes taken as records
    int records = 0;     // records handed to the store
    int requested = 0;   // data bytes the request asked for
    int badChannel = -1; // BadRecord: the channel the record named, and the one due (-1: any
    int dueChannel = -1; // enabled one)
    // Completed, but the closing exchange ("S 80" and the mode write after it) was not
    // answered as it should be: why. The data are complete; the chip may still stream.
    QString closeProblem;
    // In a series of captures with one set-up: how many were asked for, and how many of
    // them completed (the store then holds the last completed one).
    int captures = 1;
    int capturesDone = 0;

    bool completed() const { return outcome == Completed; }
    // Completed, and the chip is known to have left continuous-read mode.
    bool clean() const { return completed() && closeProblem.isEmpty(); }
    // The store holds new data: this read completed, or earlier captures of its series did.
    bool keptData() const { return completed() || capturesDone > 0; }
    // What happened, for a message box or the terminal; empty when there is nothing to say.
    // In a series, followed by how many captures completed.
    QString message() const;

private:
    QString outcomeText() const;
};
