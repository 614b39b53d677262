#include "SimOptions.h"

#include "SimConverter.h"

namespace {
// "CH=rest": the channel (0..7) and the text after "=".
bool channelAndValue(const QString &text, int &channel, QString &rest)
{
    const int eq = text.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    bool ok = false;
    channel = text.left(eq).toInt(&ok);
    rest = text.mid(eq + 1);
    return ok && channel >= 0 && channel < SimConverter::Channels;
}

SimSignal &signalOf(SimOptions &o, int channel)
{
    for (auto &entry : o.signalSettings)
        if (entry.first == channel)
            return entry.second;
    o.signalSettings.append({channel, SimConverter::defaultSignal(channel)});
    return o.signalSettings.last().second;
}
} // namespace

SimOptions SimOptions::parse(const QStringList &arguments)
{
    SimOptions o;
    for (int i = 0; i < arguments.size() && o.error.isEmpty(); ++i) {
        const QString &a = arguments.at(i);
        const auto value = [&](QString &out) {
            if (i + 1 >= arguments.size()) {
                o.error = QStringLiteral("%1 needs a value").arg(a);
                return false;
            }
            out = arguments.at(++i);
            return true;
        };
        QString v;
        bool ok = true;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.showHelp = true;
        } else if (a == QLatin1String("--fast")) {
            o.pacing = false;
        } else if (a == QLatin1String("--paced")) {
            o.pacing = true;
        } else if (a == QLatin1String("--variant")) {
            if (!value(v))
                break;
            const int n = v.toInt(&ok);
            const int code = (n >= 62 && n <= 69) ? n - 60 : n;
            if (!ok || (code != 2 && code != 4 && code != 8 && code != 9))
                o.error = QStringLiteral("unknown variant '%1' (62, 64, 68 or 69)").arg(v);
            o.variant = code;
        } else if (a == QLatin1String("--seed")) {
            if (!value(v))
                break;
            o.seed = v.toUInt(&ok);
            if (!ok)
                o.error = QStringLiteral("--seed needs a whole number");
        } else if (a == QLatin1String("--mclk")) {
            if (!value(v))
                break;
            o.mclk = v.toDouble(&ok);
            if (!ok || o.mclk <= 0)
                o.error = QStringLiteral("--mclk needs a frequency in MHz above 0");
        } else if (a == QLatin1String("--fault")) {
            if (!value(v))
                break;
            if (!o.faults.set(v))
                o.error = QStringLiteral("unknown fault '%1' (%2)")
                              .arg(v, SimFaults::names().join(QLatin1String(", ")));
        } else if (a == QLatin1String("--dc") || a == QLatin1String("--noise") ||
                   a == QLatin1String("--sine")) {
            if (!value(v))
                break;
            int channel = 0;
            QString rest;
            if (!channelAndValue(v, channel, rest)) {
                o.error = QStringLiteral("%1 needs CHANNEL=VALUE with a channel 0..7").arg(a);
                break;
            }
            SimSignal &s = signalOf(o, channel);
            if (a == QLatin1String("--sine")) {
                const QStringList parts = rest.split(QLatin1Char(','));
                bool ok2 = false;
                s.sineAmplitude = parts.value(0).toDouble(&ok);
                s.sineFrequency = parts.value(1).toDouble(&ok2);
                ok = ok && ok2 && parts.size() == 2;
            } else if (a == QLatin1String("--dc")) {
                s.dc = rest.toDouble(&ok);
            } else {
                s.noiseRms = rest.toDouble(&ok);
                ok = ok && s.noiseRms >= 0;
            }
            if (!ok)
                o.error = QStringLiteral("%1: cannot read '%2'").arg(a, v);
        } else {
            o.error = QStringLiteral("unknown option '%1'").arg(a);
        }
    }
    return o;
}

QString SimOptions::helpText()
{
    return QStringLiteral(
        "Usage: qm416x-boardsim [OPTIONS]\n\n"
        "Simulated QM416x evaluation board on a pseudo-terminal. Prints the terminal's path\n"
        "on the first line, then serves it until killed. Open that path as the serial port.\n"
        "Signal USR1 presses the board's reset button.\n\n"
        "Options:\n"
        "  --fast              answer at once (default: real line rate and conversion times)\n"
        "  --paced             real line rate (3840 bytes/s) and conversion times\n"
        "  --variant V         62, 64, 68 (default) or 69\n"
        "  --seed N            seed of the noise generator (default 1)\n"
        "  --mclk MHZ          master clock of the converter (default 6.144)\n"
        "  --dc CH=VOLTS       DC level at the input of channel CH\n"
        "  --noise CH=VOLTS    Gaussian noise (RMS) at the input of channel CH\n"
        "  --sine CH=AMP,HZ    sine tone (peak volts, hertz) at the input of channel CH\n"
        "  --fault NAME        misbehave as a damaged board does (repeatable): refuse-writes,\n"
        "                      mute-writes, foreign-channel, channel-7, random-bytes,\n"
        "                      count-fewer, count-more, count-ffff, reset-in-stream,\n"
        "                      reset-in-writes, late-answer, junk-replies, drop-third,\n"
        "                      mute-close, no-closing-bytes, ignore-writes (see\n"
        "                      docs/simulator.md)\n"
        "  --help              this text\n");
}

void SimOptions::applyTo(SimConverter &converter) const
{
    converter.setSeed(seed);
    converter.setMclk(mclk);
    for (const auto &entry : signalSettings)
        converter.setSignal(entry.first, entry.second);
}
