#include "SimFaults.h"

QStringList SimFaults::names()
{
    return {
        QStringLiteral("refuse-writes"),   QStringLiteral("mute-writes"),  QStringLiteral("foreign-channel"),
        QStringLiteral("channel-7"),       QStringLiteral("random-bytes"), QStringLiteral("count-fewer"),
        QStringLiteral("count-more"),      QStringLiteral("count-ffff"),   QStringLiteral("reset-in-stream"),
        QStringLiteral("reset-in-writes"), QStringLiteral("late-answer"),  QStringLiteral("junk-replies"),
        QStringLiteral("drop-third"),      QStringLiteral("mute-close"),   QStringLiteral("no-closing-bytes"),
        QStringLiteral("ignore-writes")};
}

bool SimFaults::set(const QString &name)
{
    bool *const flags[] = {&refuseWrites, &muteWrites, &foreignChannel, &channelSeven, &randomBytes};
    const int index = static_cast<int>(names().indexOf(name));
    if (index < 0)
        return false;
    if (index < 5)
        *flags[index] = true;
    else if (index < 8)
        countChange = index == 5 ? -1 : index == 6 ? 1 : 2;
    else {
        bool *const more[] = {&resetInStream, &resetInWrites, &lateAnswer,     &junkReplies,
                              &dropThird,     &muteClose,     &noClosingBytes, &ignoreWrites};
        *more[index - 8] = true;
    }
    return true;
}
