#pragma once

#include <QString>
#include <QStringList>

// Ways the simulated board can misbehave, as a damaged cable, a flaky adapter or a wrong
// firmware make a real one misbehave. All off by default; tests and qm416x-boardsim
// (--fault NAME) switch them on.
struct SimFaults
{
    bool refuseWrites = false;   // register writes answered "E REFUSED", not executed
    bool muteWrites = false;     // register writes executed, never answered
    bool ignoreWrites = false;   // register writes echoed as usual, but the chip keeps its values
    bool foreignChannel = false; // the third record of a stream names channel + 4
    bool channelSeven = false;   // every record names channel 7
    bool randomBytes = false;    // from the third record on, the stream is random bytes
    int countChange = 0;         // 0, or the stream announces: -1 half, +1 one record more, 2 FFFFh
    bool resetInStream = false;  // the board resets halfway through a stream
    bool resetInWrites = false;  // the board resets after its third register write
    bool lateAnswer = false;     // a stream's answer comes 2.5 s late; lines before it are lost
    bool junkReplies = false;    // every SPI frame is answered "S 12 34 56 78"
    bool dropThird = false;      // every third command line gets no answer
    bool muteClose = false;      // the first command after a stream gets no answer
    bool noClosingBytes = false; // a stream ends without its CR LF

    static constexpr int LateAnswerMs = 2500;

    // Switches on the fault of that name; false for an unknown name.
    bool set(const QString &name);
    static QStringList names();
};
