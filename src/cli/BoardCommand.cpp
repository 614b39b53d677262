#include "BoardCommand.h"

#include "BoardSession.h"
#include "CliArguments.h"
#include "CliOutput.h"

namespace {

const char *const Help = "Usage: qm416x-cli board --port NAME|PATH ACTION\n\n"
                         "Runs one function of the evaluation board and prints its reply.\n\n"
                         "Actions:\n"
                         "  reset         reset the board (it answers with its reset notice)\n"
                         "  sram          run the board's SRAM test\n"
                         "  dac CODE      set the DAC to CODE (decimal 0..4095, 0..5 V)\n"
                         "  led on|off    switch the LED\n\n"
                         "NAME is Com1..Com4, a device path such as /dev/pts/3 (qm416x-boardsim),\n"
                         "or 'sim' for the built-in simulated board.\n";

int run(const QStringList &arguments)
{
    const CliArguments args(arguments, {QStringLiteral("--port")}, {});
    if (const std::optional<int> done = args.answerFirst(QString::fromLatin1(Help)))
        return *done;
    const QString port = args.value(QStringLiteral("--port"));
    const QStringList words = args.positional();
    if (port.isEmpty())
        return CliOutput::usageError(QStringLiteral("board needs --port (see 'qm416x-cli board --help')"));

    const QString action = words.value(0);
    const bool takesValue = action == QLatin1String("dac") || action == QLatin1String("led");
    if (!QStringList{"reset", "sram", "dac", "led"}.contains(action))
        return CliOutput::usageError(QStringLiteral("board needs an action: reset, sram, dac or led"));
    if (words.size() != (takesValue ? 2 : 1))
        return CliOutput::usageError(QStringLiteral("wrong number of arguments for 'board %1'").arg(action));

    int value = 0;
    if (action == QLatin1String("dac")) {
        bool ok = false;
        value = words.at(1).toInt(&ok);
        if (!ok || value < 0 || value > 4095)
            return CliOutput::usageError(QStringLiteral("the DAC code must be a whole number 0..4095"));
    } else if (action == QLatin1String("led")) {
        const QString state = words.at(1).toLower();
        if (state != QLatin1String("on") && state != QLatin1String("off"))
            return CliOutput::usageError(QStringLiteral("the LED is switched 'on' or 'off'"));
        value = state == QLatin1String("on") ? 0 : 255;
    }

    BoardSession session(8);
    if (!session.connect(port))
        return 1;
    BoardLink &link = session.link();
    QString reply;
    if (action == QLatin1String("reset"))
        reply = link.BrdReset();
    else if (action == QLatin1String("sram"))
        reply = link.BrdCheckSRAM();
    else if (action == QLatin1String("dac"))
        reply = link.BrdDAC(value);
    else
        reply = link.BrdLED(value);
    session.deliverMessages();
    if (reply.isEmpty())
        return CliOutput::failure(QStringLiteral("the board did not answer"));
    CliOutput::out(reply + QLatin1Char('\n'));
    return 0;
}

} // namespace

CliCommand boardCommand()
{
    return {QStringLiteral("board"),
            QStringLiteral("run a function of the evaluation board (reset, sram, dac, led)"), run};
}
