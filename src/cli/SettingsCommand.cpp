#include "SettingsCommand.h"

#include "BoardSession.h"
#include "CliArguments.h"
#include "CliOutput.h"
#include "app/SettingsFile.h"

namespace {

const char *const Help =
    "Usage: qm416x-cli settings save --port NAME|PATH [--variant 62|64|68|69] -o FILE.adc\n"
    "       (-o and --output are the same option)\n"
    "       qm416x-cli settings load FILE.adc --port NAME|PATH [--variant 62|64|68|69]\n\n"
    "save reads every register from the evaluation board and writes the settings file.\n"
    "load reads the settings file (its first line must name the variant) and writes every\n"
    "register to the board; nothing is written to the board when the file cannot be read.\n"
    "Every write must be answered and every register read back as written, or load\n"
    "exits with code 1 naming the register.\n\n"
    "NAME is Com1..Com4, a device path such as /dev/pts/3 (qm416x-boardsim), or 'sim' for\n"
    "the built-in simulated board. --variant defaults to 68.\n";

int save(BoardSession &session, const QString &path)
{
    const int answered = session.link().RegReadAll();
    if (session.contReadMet())
        return CliOutput::failure(BoardSession::contReadMessage(QStringLiteral("registers")));
    if (answered != session.readAllCount())
        return CliOutput::failure(
            QStringLiteral("the board answered %1 of %2 register reads; no file written")
                .arg(answered)
                .arg(session.readAllCount()));
    const DataFileError written = WriteSettingsFile(path, session.model());
    if (written.isError())
        return CliOutput::failure(written.message());
    return 0;
}

int load(BoardSession &session, const QString &path)
{
    const int expected = session.writeAllCount();
    RegisterTransfer &transfer = session.link().transfer();
    transfer.watchWrites();
    const int answered = session.link().RegWriteAll();
    if (answered != expected)
        return CliOutput::failure(QStringLiteral("the board answered %1 of %2 register writes; the board "
                                                 "holds only part of %3")
                                      .arg(answered)
                                      .arg(expected)
                                      .arg(path));
    if (const QString differs = transfer.verifyWrites(); !differs.isEmpty())
        return CliOutput::failure(differs + QStringLiteral("; the board does not hold %1").arg(path));
    CliOutput::out(QStringLiteral("wrote %1 registers from %2\n").arg(answered).arg(path));
    return 0;
}

int run(const QStringList &arguments)
{
    const CliArguments args(
        arguments, {QStringLiteral("--port"), QStringLiteral("--variant"), QStringLiteral("-o|--output")},
        {});
    if (const std::optional<int> done = args.answerFirst(QString::fromLatin1(Help)))
        return *done;
    const QStringList words = args.positional();
    const QString action = words.value(0);
    const int variantCode = args.variantOption(8);
    if (variantCode == 0)
        return CliOutput::usageError(args.variantError());
    if (args.value(QStringLiteral("--port")).isEmpty())
        return CliOutput::usageError(
            QStringLiteral("settings needs --port (see 'qm416x-cli settings --help')"));
    QString path;
    if (action == QLatin1String("save") && words.size() == 1 && !args.value(QStringLiteral("-o")).isEmpty())
        path = args.value(QStringLiteral("-o"));
    else if (action == QLatin1String("load") && words.size() == 2 && !args.has(QStringLiteral("-o")))
        path = words.at(1);
    else
        return CliOutput::usageError(
            QStringLiteral("use 'settings save -o FILE.adc' or 'settings load FILE.adc' (see --help)"));

    BoardSession session(variantCode);
    if (action == QLatin1String("load")) {
        // The file goes into the model first: nothing reaches the board when it cannot be read.
        const SettingsReadResult read = ReadSettingsFile(path, session.model());
        if (!read.ok())
            return CliOutput::failure(read.message.trimmed() + QStringLiteral(": ") + path);
    }
    if (!session.connect(args.value(QStringLiteral("--port"))))
        return 1;
    return action == QLatin1String("save") ? save(session, path) : load(session, path);
}

} // namespace

CliCommand settingsCommand()
{
    return {QStringLiteral("settings"), QStringLiteral("save or load the register set-up as a settings file"),
            run};
}
