#include "RegsCommand.h"

#include "BoardSession.h"
#include "CliArguments.h"
#include "CliFormat.h"
#include "CliOutput.h"
#include "model/HexText.h"
#include "model/RegisterDesign.h"

namespace {

const char *const Help =
    "Usage: qm416x-cli regs --port NAME|PATH [--variant 62|64|68|69] [--format F] ACTION\n\n"
    "Reads or writes the converter's registers on the evaluation board. The model starts\n"
    "as the program's does: register design values, then the power-on image.\n\n"
    "Actions:\n"
    "  read-all            read every register and print address and value\n"
    "  read ADDR           read one register\n"
    "  write ADDR VALUE    write one register\n"
    "  write-all           write the power-on image to the chip\n\n"
    "ADDR and VALUE are hexadecimal (00..3F). NAME is Com1..Com4, a device path such as\n"
    "/dev/pts/3 (qm416x-boardsim), or 'sim' for the built-in simulated board.\n"
    "--variant defaults to 68.\n\n"
    "  --format text|csv|json  for read-all, read and write: text 'ADDR VALUE  NAME' lines\n"
    "                         (default); CSV address,value,bits,name with decimal numbers;\n"
    "                         JSON Lines, one object per register, with the hexadecimal texts\n";

CliFormat::Kind format = CliFormat::Text;

QString line(QM4168 &model, int address)
{
    const RegisterDesign::Row *row = RegisterDesign::row(RegisterDesign::rowIndexOf(address));
    const QString name = row ? row->name : QString();
    const int bytes = qMax(1, model.RegBytes(address));
    const QString valueHex = HexPad(model.Register(address), 2 * bytes);
    if (format == CliFormat::Json)
        return CliFormat::jsonLine({{"address", address},
                                    {"value", model.Register(address)},
                                    {"bits", 8 * bytes},
                                    {"name", name},
                                    {"address_hex", HexPad(address, 2)},
                                    {"value_hex", valueHex}});
    if (format == CliFormat::Csv)
        return CliFormat::csvRow({QString::number(address), QString::number(model.Register(address)),
                                  QString::number(8 * bytes), name});
    return QStringLiteral("%1 %2  %3\n").arg(HexPad(address, 2), valueHex.leftJustified(6), name);
}

QString heading()
{
    return format == CliFormat::Csv ? QStringLiteral("address,value,bits,name\n") : QString();
}

QString failedText(BoardLink &link, int address)
{
    return link.transfer().failureOf(address);
}

int contReadRefused()
{
    return CliOutput::failure(BoardSession::contReadMessage(QStringLiteral("data and status registers")));
}

int run(const QStringList &arguments)
{
    const CliArguments args(arguments,
                            {QStringLiteral("--port"), QStringLiteral("--variant"), CliFormat::option()}, {});
    if (const std::optional<int> done = args.answerFirst(QString::fromLatin1(Help)))
        return *done;
    QString formatError;
    if (!CliFormat::read(args, format, formatError))
        return CliOutput::usageError(formatError);
    const QString port = args.value(QStringLiteral("--port"));
    const QStringList words = args.positional();
    const int variantCode = args.variantOption(8);
    if (variantCode == 0)
        return CliOutput::usageError(args.variantError());
    if (port.isEmpty())
        return CliOutput::usageError(QStringLiteral("regs needs --port (see 'qm416x-cli regs --help')"));
    const QString action = words.value(0);
    const int expectedWords = action == QLatin1String("read") ? 2 : action == QLatin1String("write") ? 3 : 1;
    if (!QStringList{"read-all", "read", "write", "write-all"}.contains(action))
        return CliOutput::usageError(
            QStringLiteral("regs needs an action: read-all, read, write or write-all"));
    if (words.size() != expectedWords)
        return CliOutput::usageError(QStringLiteral("wrong number of arguments for 'regs %1'").arg(action));
    if (action == QLatin1String("write-all") && format != CliFormat::Text)
        return CliOutput::usageError(QStringLiteral("--format applies to read-all, read and write"));

    qint64 address = -1;
    qint64 value = -1;
    if (expectedWords >= 2) {
        address = CliArguments::hexNumber(words.at(1), 0x3F);
        if (address < 1)
            return CliOutput::usageError(
                QStringLiteral("'%1' is not a register address (01..3F)").arg(words.at(1)));
    }

    BoardSession session(variantCode);
    QM4168 &model = session.model();
    if (expectedWords == 3) {
        const int bytes = qMax(1, model.RegBytes(static_cast<int>(address)));
        value = CliArguments::hexNumber(words.at(2), (qint64(1) << (8 * bytes)) - 1);
        if (value < 0)
            return CliOutput::usageError(
                QStringLiteral("'%1' is not a hexadecimal value that fits register %2 (%3 bits)")
                    .arg(words.at(2), HexPad(address, 2))
                    .arg(8 * bytes));
    }
    if (!session.connect(port))
        return 1;
    BoardLink &link = session.link();

    if (action == QLatin1String("read-all")) {
        const int answered = link.RegReadAll();
        session.deliverMessages();
        if (session.contReadMet())
            return contReadRefused();
        const QList<int> addresses = session.readAllAddresses();
        if (answered != addresses.size())
            return CliOutput::failure(QStringLiteral("the board answered %1 of %2 register reads")
                                          .arg(answered)
                                          .arg(addresses.size()));
        QString text = heading();
        for (int address : addresses)
            text += line(model, address);
        CliOutput::out(text);
        return 0;
    }
    if (action == QLatin1String("read")) {
        const bool ok = link.RegReadOne(static_cast<int>(address));
        session.deliverMessages();
        if (session.contReadMet())
            return contReadRefused();
        if (!ok)
            return CliOutput::failure(failedText(link, static_cast<int>(address)));
        CliOutput::out(heading() + line(model, static_cast<int>(address)));
        return 0;
    }
    if (action == QLatin1String("write")) {
        model.setRegister(static_cast<int>(address), false, static_cast<qint32>(value));
        link.transfer().watchWrites();
        const bool ok = link.RegWriteOne(static_cast<int>(address));
        const QString differs = ok ? link.transfer().verifyWrites() : QString();
        session.deliverMessages();
        if (!ok)
            return CliOutput::failure(link.transfer().writeFailure());
        if (!differs.isEmpty())
            return CliOutput::failure(differs);
        CliOutput::out(heading() + line(model, static_cast<int>(address)));
        return 0;
    }
    // write-all: the model holds the power-on image.
    const int expected = session.writeAllCount();
    link.transfer().watchWrites();
    const int answered = link.RegWriteAll();
    const QString differs = answered == expected ? link.transfer().verifyWrites() : QString();
    session.deliverMessages();
    if (answered != expected)
        return CliOutput::failure(
            QStringLiteral("the board answered %1 of %2 register writes").arg(answered).arg(expected));
    if (!differs.isEmpty())
        return CliOutput::failure(differs);
    CliOutput::out(QStringLiteral("wrote %1 registers\n").arg(answered));
    return 0;
}

} // namespace

CliCommand regsCommand()
{
    return {QStringLiteral("regs"), QStringLiteral("read and write the converter's registers on the board"),
            run};
}
