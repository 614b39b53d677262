#pragma once

#include "board/ContReadResult.h"

#include <QList>
#include <QString>

#include <optional>

class BoardSession;
class CaptureSeries;
class CaptureSet;
class ClassData;
class CliArguments;

// The channel numbers of "0,1,5" for --channels; empty with error set when the list is not one.
QList<int> channelList(const QString &text, QString &error);

// What acquire and log share: the acquisition options and the channel set-up made on the
// board, each change written and checked.
struct AcquireSetup
{
    int variantCode = 0;
    QList<int> channels;
    int samples = 100;
    int width = 0; // bytes; 0 keeps the data width the converter has
    bool rdyAll = false;

    // Reads --variant, --channels, --samples, --width and --rdy-all: -1 when they are
    // good, otherwise the exit code of the usage error already reported.
    int read(const CliArguments &args);
    // -1 when every channel exists on the session's variant, otherwise the usage error's code.
    int checkChannels(BoardSession &session) const;
    // Enables exactly the channels and sets the data width and the ready pin as the setup
    // window would, through the model with every change written to the chip; "" when every
    // write was answered and reads back as written, otherwise what went wrong.
    QString makeOn(BoardSession &session) const;
    // The samples per channel an acquisition takes with the set-up made: samples, or fewer
    // when the board's memory holds fewer for the enabled channels.
    int amountFor(BoardSession &session, const ClassData &store) const;
    // Acquires amount samples per enabled channel into store by continuous read, as the data
    // window's Read does, with a 2 s limit on the request; "" when the acquisition completed
    // cleanly, otherwise what went wrong (the store then holds what it held before).
    static QString acquire(BoardSession &session, ClassData &store, int amount);
    // The same count times in a row through series (made on the session's link), each
    // capture added to captures and the store holding the last; the series' outcome, none
    // when no acquisition ran. A failure after some captures keeps those.
    static std::optional<ContReadResult> acquireSeries(BoardSession &session, ClassData &store, int amount,
                                                       CaptureSeries &series, int count,
                                                       CaptureSet &captures);
};
