#include "SimFaults.h"

namespace {
struct Switch
{
    const char *name;
    bool SimFaults::*flag;
};

constexpr Switch Switches[] = {
    {"refuse-writes", &SimFaults::refuseWrites},     {"mute-writes", &SimFaults::muteWrites},
    {"ignore-writes", &SimFaults::ignoreWrites},     {"foreign-channel", &SimFaults::foreignChannel},
    {"channel-7", &SimFaults::channelSeven},         {"random-bytes", &SimFaults::randomBytes},
    {"reset-in-stream", &SimFaults::resetInStream},  {"reset-in-writes", &SimFaults::resetInWrites},
    {"late-answer", &SimFaults::lateAnswer},         {"junk-replies", &SimFaults::junkReplies},
    {"drop-third", &SimFaults::dropThird},           {"mute-close", &SimFaults::muteClose},
    {"no-closing-bytes", &SimFaults::noClosingBytes}};

struct CountChange
{
    const char *name;
    int change;
};

constexpr CountChange CountChanges[] = {{"count-fewer", -1}, {"count-more", 1}, {"count-ffff", 2}};
} // namespace

QStringList SimFaults::names()
{
    QStringList list;
    for (const Switch &s : Switches)
        list << QLatin1String(s.name);
    for (const CountChange &c : CountChanges)
        list << QLatin1String(c.name);
    return list;
}

bool SimFaults::set(const QString &name)
{
    for (const Switch &s : Switches)
        if (name == QLatin1String(s.name)) {
            this->*s.flag = true;
            return true;
        }
    for (const CountChange &c : CountChanges)
        if (name == QLatin1String(c.name)) {
            countChange = c.change;
            return true;
        }
    return false;
}
