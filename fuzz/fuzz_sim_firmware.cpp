// The simulated board's firmware and converter over any bytes from the PC side (the first
// byte picks the chip variant). Every command line gets its answer before the next one:
//  - outside a continuous read, exactly one reply line "[" text CR LF ("*" gets none), or
//    for an accepted continuous-read request "[C hhhh" CR, then at most hhhh record bytes,
//    and CR LF once all of them are out;
//  - during a continuous read, the closing CR LF first, then the command's own answer;
//  - bytes that complete no command produce nothing, and no answer exceeds what the board
//    can hold (its SRAM plus a line).

#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "sim/SimBoard.h"
#include "sim/SimFirmware.h"
#include "sim/SimLineReader.h"

namespace {

constexpr int MostOutput = SimFirmware::MaxStreamBytes + 8 + 2 + 2 * (SimLineReader::Capacity + 8);

QByteArray drain(SimBoard &board)
{
    QByteArray all;
    for (QByteArray part = board.takeOutput(1 << 16); !part.isEmpty(); part = board.takeOutput(1 << 16)) {
        all += part;
        FUZZ_CHECK(all.size() <= MostOutput);
    }
    return all;
}

// One reply line: "[" text CR LF, nothing else.
bool isReplyLine(const QByteArray &out)
{
    return out.startsWith('[') && out.endsWith("\r\n") && out.count('\r') == 1 && out.count('\n') == 1;
}

// The answer to one command line outside a stream; true when it opened a stream that is
// still running.
void checkAnswer(const QByteArray &out, bool streamingAfter)
{
    if (out.startsWith("[C ") && out.size() >= 8 && out.at(7) == '\r') {
        bool ok = false;
        const int announced = out.mid(3, 4).toInt(&ok, 16);
        FUZZ_CHECK(ok && announced >= 0 && announced <= SimFirmware::MaxStreamBytes);
        const QByteArray rest = out.mid(8);
        if (streamingAfter) {
            FUZZ_CHECK(announced > 0 && rest.size() < announced);
        } else {
            FUZZ_CHECK(rest.size() == announced + 2 && rest.endsWith("\r\n"));
        }
        return;
    }
    FUZZ_CHECK(!streamingAfter);
    FUZZ_CHECK(isReplyLine(out));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzBytes input(data, size);
    static const int variants[] = {2, 4, 8, 9};
    SimBoard board(variants[input.choice(4)]);
    SimLineReader lines; // where the board's command lines end

    while (!input.atEnd()) {
        const char byte = static_cast<char>(input.byte());
        const bool streamingBefore = board.streaming();
        board.receive(QByteArray(1, byte));
        if (!lines.feed(byte)) {
            // Only a running stream may go on producing records.
            const QByteArray out = drain(board);
            FUZZ_CHECK(out.isEmpty() || streamingBefore);
            continue;
        }
        QByteArray out = drain(board);
        const bool abort = !lines.overflowed() && lines.line().trimmed() == "*";
        if (streamingBefore) {
            FUZZ_CHECK(out.startsWith("\r\n"));
            out.remove(0, 2);
        }
        if (abort) {
            FUZZ_CHECK(out.isEmpty());
            continue;
        }
        checkAnswer(out, board.streaming());
    }
    QCoreApplication::processEvents(); // the board's queued announcements
    return 0;
}
