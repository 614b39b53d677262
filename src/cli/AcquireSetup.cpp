#include "AcquireSetup.h"

#include "AcquireCommand.h"
#include "BoardSession.h"
#include "CliArguments.h"
#include "CliOutput.h"
#include "board/BoardLink.h"
#include "model/QM4168.h"

int AcquireSetup::read(const CliArguments &args)
{
    variantCode = args.variantOption(8);
    if (variantCode == 0)
        return CliOutput::usageError(args.variantError());
    QString error;
    channels = channelList(args.value(QStringLiteral("--channels")), error);
    if (!error.isEmpty())
        return CliOutput::usageError(error);
    if (args.has(QStringLiteral("--samples"))) {
        bool ok = false;
        samples = args.value(QStringLiteral("--samples")).toInt(&ok);
        if (!ok || samples < 4)
            return CliOutput::usageError(
                QStringLiteral("--samples must be a whole number of 4 or more, not '%1'")
                    .arg(args.value(QStringLiteral("--samples"))));
    }
    if (args.has(QStringLiteral("--width"))) {
        const QString text = args.value(QStringLiteral("--width"));
        width = text == QLatin1String("16") ? 2 : text == QLatin1String("24") ? 3 : 0;
        if (width == 0)
            return CliOutput::usageError(QStringLiteral("--width must be 16 or 24, not '%1'").arg(text));
    }
    rdyAll = args.has(QStringLiteral("--rdy-all"));
    return -1;
}

int AcquireSetup::checkChannels(BoardSession &session) const
{
    const QM4168 &model = session.model();
    for (int channel : channels)
        if (channel > model.MaxChannel() || (model.EvBoard() == 2 && channel == 1))
            return CliOutput::usageError(
                QStringLiteral("channel %1 does not exist on this variant (--variant %2)")
                    .arg(channel)
                    .arg(60 + variantCode));
    return -1;
}

QString AcquireSetup::makeOn(BoardSession &session) const
{
    // The register traffic is held as during the continuous-read dialog, so every write goes
    // straight through.
    QM4168 &model = session.model();
    BoardLink &link = session.link();
    link.setUpdateState(RegisterSync::UpdContRead);
    RegisterTransfer &transfer = link.transfer();
    transfer.watchWrites();
    for (int channel = 0; channel <= model.MaxChannel(); ++channel)
        model.setEnable(channel, channels.contains(channel));
    if (width != 0)
        model.setDataWidth(width);
    model.setRdyFn(rdyAll);
    const QString failure = transfer.writeFailure();
    return failure.isEmpty() ? transfer.verifyWrites() : failure;
}
