#include "AcquireSetup.h"

#include "BoardSession.h"
#include "CliArguments.h"
#include "CliOutput.h"
#include "board/Acquisition.h"
#include "board/BoardLink.h"
#include "board/CaptureSeries.h"
#include "board/ContReadCounts.h"
#include "data/ClassData.h"
#include "model/QM4168.h"

QList<int> channelList(const QString &text, QString &error)
{
    QList<int> channels;
    for (const QString &word : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int channel = word.trimmed().toInt(&ok);
        if (!ok || channel < 0 || channel > 7) {
            error = QStringLiteral("--channels needs channel numbers 0..7 separated by commas, not '%1'")
                        .arg(text);
            return {};
        }
        if (!channels.contains(channel))
            channels << channel;
    }
    return channels;
}

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

int AcquireSetup::amountFor(BoardSession &session, const ClassData &store) const
{
    const QM4168 &model = session.model();
    return ContReadCounts::refresh(model.ChannelCount(), model.DataWidth(-1), samples, store.MaxBytes(),
                                   store.MinCount())
        .amount;
}

QString AcquireSetup::acquire(BoardSession &session, ClassData &store, int amount)
{
    BoardLink &link = session.link();
    link.contRead().setRequestTimeOutMs(2000);
    Acquisition acquisition(session.model(), store, link, nullptr,
                            [&] { return std::optional<ContReadResult>(link.BrdContRead(amount, store)); });
    const std::optional<ContReadResult> result = acquisition.ReadData();
    if (!result || !result->clean())
        return result ? result->message() : QStringLiteral("no acquisition ran");
    return {};
}

std::optional<ContReadResult> AcquireSetup::acquireSeries(BoardSession &session, ClassData &store, int amount,
                                                          CaptureSeries &series, int count,
                                                          CaptureSet &captures)
{
    BoardLink &link = session.link();
    link.contRead().setRequestTimeOutMs(2000);
    Acquisition acquisition(session.model(), store, link, nullptr, [&] {
        return std::optional<ContReadResult>(series.run(count, amount, store, captures));
    });
    return acquisition.ReadData();
}
