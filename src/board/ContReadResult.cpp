#include "ContReadResult.h"

QString ContReadResult::message() const
{
    const QString text = outcomeText();
    if (captures <= 1 || text.isEmpty())
        return text;
    return text + QStringLiteral(" %1 of %2 captures completed.").arg(capturesDone).arg(captures);
}

QString ContReadResult::outcomeText() const
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
    case WrongCount:
        return QStringLiteral(
                   "The evaluation board announced %1 bytes (answer \"%2\") where %3 were requested.")
            .arg(announced)
            .arg(answer.trimmed())
            .arg(requested);
    case BadRecord: {
        const QString which = dueChannel < 0 ? QStringLiteral("which is not enabled")
                                             : QStringLiteral("where channel %1 was due").arg(dueChannel);
        return QStringLiteral("Record %1 of the continuous read (byte %2) names channel %3, %4; the "
                              "stream is damaged.")
            .arg(records + 1)
            .arg(received + 1)
            .arg(badChannel)
            .arg(which);
    }
    case BoardReset:
        return QStringLiteral("The evaluation board was reset during the continuous read; its registers "
                              "are back at their power-on values.");
    case Unclosed:
        return QStringLiteral("The evaluation board sent all %1 bytes but not the closing bytes; the "
                              "transfer was ended.")
            .arg(announced);
    case Completed:
        if (!closeProblem.isEmpty())
            return closeProblem + QStringLiteral(" The chip may still be in continuous-read mode.");
        break;
    case NotRun:
        break;
    }
    return {};
}
