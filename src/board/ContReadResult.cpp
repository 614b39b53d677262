#include "ContReadResult.h"

QString ContReadResult::message() const
{
    switch (outcome) {
    case LinkClosed:
        return QStringLiteral("Com Port hasn't been opened !");
    case LinkBusy:
        return QStringLiteral("The board link is busy with another exchange; no data were read.");
    case NoAnswer:
        return QStringLiteral("The evaluation board did not answer the continuous-read request.");
    case Refused:
        return QStringLiteral("The evaluation board refused the continuous read (answer \"%1\").")
            .arg(answer.trimmed());
    case Cancelled:
        if (announced == 0)
            return QStringLiteral("The continuous read was cancelled before any data came.");
        return QStringLiteral("The continuous read was cancelled after %1 of %2 bytes.")
            .arg(received)
            .arg(announced);
    case Stopped:
        return QStringLiteral("The evaluation board stopped sending after %1 of %2 bytes; the transfer "
                              "was ended.")
            .arg(received)
            .arg(announced);
    case Lost:
        return QStringLiteral("The evaluation board went away during the continuous read.");
    case NotRun:
    case Completed:
        break;
    }
    return {};
}
