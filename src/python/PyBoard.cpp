#include "PyBoard.h" // Python's headers first

#include "AcquireSetup.h"
#include "BoardSession.h"
#include "PyErrors.h"
#include "PyWait.h"
#include "app/SettingsFile.h"
#include "board/BoardLink.h"
#include "board/CaptureSeries.h"
#include "board/LinkState.h"
#include "board/NoiseSweep.h"
#include "data/CaptureSet.h"
#include "model/QM4168.h"

#include <pybind11/stl.h>

namespace py = pybind11;

PyBoard::PyBoard(const QString &port, int variantCode)
    : m_port(port)
    , m_variantCode(variantCode)
    , m_session(std::make_unique<BoardSession>(variantCode, &m_dialogs))
{
    bool connected = false;
    wait([&] { connected = m_session->connect(port); });
    if (!connected) {
        const QStringList told = m_dialogs.take();
        m_session.reset();
        PyErrors::throwBoardError(told.isEmpty() ? QStringLiteral("%1 could not be opened").arg(port)
                                                 : told.join(QStringLiteral("; ")));
    }
}

PyBoard::~PyBoard() = default;

void PyBoard::close()
{
    if (!m_session)
        return;
    m_session->link().ComClose();
    m_session->deliverMessages();
    m_session.reset();
}

bool PyBoard::isOpen() const
{
    return m_session && m_session->link().isPortOpen();
}

BoardSession &PyBoard::session()
{
    if (!isOpen())
        PyErrors::throwBoardError(QStringLiteral("Com Port hasn't been opened !"));
    return *m_session;
}

QM4168 &PyBoard::model()
{
    return session().model();
}

void PyBoard::wait(const std::function<void()> &work)
{
    BoardSession *s = m_session.get();
    PyWait::run(work, [s] {
        // As the continuous-read dialog's Cancel: a request or a stream is escaped.
        BoardLink &link = s->link();
        if (link.BrdState() == LinkState::BoardRequest || link.BrdState() == LinkState::BoardAnswer)
            link.setBrdState(LinkState::BoardEscape);
    });
}

void PyBoard::fail(const QString &failure)
{
    if (m_session)
        m_session->deliverMessages();
    QStringList parts = m_dialogs.take();
    if (!failure.isEmpty())
        parts.prepend(failure);
    PyErrors::throwBoardError(parts.join(QStringLiteral("; ")));
}

void PyBoard::checkAddress(int address) const
{
    if (address < 1 || address > 0x3F)
        throw py::value_error(
            QStringLiteral("%1 is not a register address (0x01..0x3F)").arg(address).toStdString());
}

void PyBoard::checkChannel(int channel) const
{
    const QM4168 &m = m_session->model();
    if (channel < 0 || channel > m.MaxChannel() || (m.EvBoard() == 2 && channel == 1))
        throw py::value_error(QStringLiteral("channel %1 does not exist on the QM416%2")
                                  .arg(channel)
                                  .arg(m_variantCode)
                                  .toStdString());
}

void PyBoard::checkNotInContRead(const QString &what)
{
    m_session->deliverMessages();
    if (m_session->contReadMet()) {
        m_session->clearContReadMet();
        fail(BoardSession::contReadMessage(what));
    }
}

qint32 PyBoard::readRegister(int address)
{
    checkAddress(address);
    BoardLink &link = session().link();
    bool ok = false;
    wait([&] { ok = link.RegReadOne(address); });
    checkNotInContRead(QStringLiteral("data and status registers"));
    if (!ok)
        fail(link.transfer().failureOf(address));
    return m_session->model().Register(address);
}

void PyBoard::writeRegister(int address, qint64 value)
{
    checkAddress(address);
    QM4168 &m = session().model();
    const int bytes = qMax(1, m.RegBytes(address));
    if (value < 0 || value >= (qint64(1) << (8 * bytes)))
        throw py::value_error(QStringLiteral("%1 does not fit register %2 (%3 bits)")
                                  .arg(value)
                                  .arg(RegisterTransfer::registerName(address))
                                  .arg(8 * bytes)
                                  .toStdString());
    RegisterTransfer &transfer = m_session->link().transfer();
    m.setRegister(address, false, static_cast<qint32>(value));
    QString failure;
    wait([&] {
        transfer.watchWrites();
        failure = m_session->link().RegWriteOne(address) ? transfer.verifyWrites() : transfer.writeFailure();
    });
    if (!failure.isEmpty())
        fail(failure);
    m_session->deliverMessages();
}

void PyBoard::readAllChecked(const QString &what)
{
    int answered = 0;
    BoardLink &link = session().link();
    wait([&] { answered = link.RegReadAll(); });
    checkNotInContRead(what);
    if (answered != m_session->readAllCount())
        fail(QStringLiteral("the board answered %1 of %2 register reads")
                 .arg(answered)
                 .arg(m_session->readAllCount()));
}

py::dict PyBoard::readAll()
{
    readAllChecked(QStringLiteral("data and status registers"));
    py::dict values;
    for (int address : m_session->readAllAddresses())
        values[py::int_(address)] = m_session->model().Register(address);
    return values;
}

int PyBoard::writeAllChecked()
{
    BoardLink &link = session().link();
    const int expected = m_session->writeAllCount();
    int answered = 0;
    QString differs;
    wait([&] {
        link.transfer().watchWrites();
        answered = link.RegWriteAll();
        if (answered == expected)
            differs = link.transfer().verifyWrites();
    });
    if (answered != expected)
        fail(QStringLiteral("the board answered %1 of %2 register writes").arg(answered).arg(expected));
    if (!differs.isEmpty())
        fail(differs);
    m_session->deliverMessages();
    return answered;
}

int PyBoard::writeAll()
{
    return writeAllChecked();
}

QString PyBoard::reset()
{
    BoardLink &link = session().link();
    QString reply;
    wait([&] { reply = link.BrdReset(); });
    if (reply.isEmpty())
        fail(QStringLiteral("the board did not answer"));
    m_session->deliverMessages();
    return reply;
}

QString PyBoard::dac(int code)
{
    if (code < 0 || code > 4095)
        throw py::value_error("the DAC code must be a whole number 0..4095");
    BoardLink &link = session().link();
    QString reply;
    wait([&] { reply = link.BrdDAC(code); });
    if (reply.isEmpty())
        fail(QStringLiteral("the board did not answer"));
    return reply;
}

QString PyBoard::led(bool on)
{
    BoardLink &link = session().link();
    QString reply;
    wait([&] { reply = link.BrdLED(on ? 0 : 255); });
    if (reply.isEmpty())
        fail(QStringLiteral("the board did not answer"));
    return reply;
}

void PyBoard::loadSettings(const QString &path)
{
    // Into a model of its own first: nothing changes when the file cannot be read.
    QM4168 &m = session().model();
    QM4168 file;
    file.setEvBoard(m.EvBoard());
    const SettingsReadResult read = ReadSettingsFile(path, file);
    if (!read.ok())
        PyErrors::throwFileError(read.message.trimmed() + QStringLiteral(": ") + path);
    if (ReadSettingsFile(path, m).ok())
        writeAllChecked();
}

void PyBoard::saveSettings(const QString &path)
{
    readAllChecked(QStringLiteral("registers"));
    const DataFileError written = WriteSettingsFile(path, m_session->model());
    if (written.isError())
        PyErrors::throwFileError(QStringLiteral("%1: %2").arg(path, written.message()));
}

void PyBoard::edit(const std::function<void()> &change)
{
    BoardLink &link = session().link();
    QString failure;
    wait([&] {
        // Register traffic held as during the continuous-read dialog: every write goes
        // straight through. A link lost meanwhile keeps the state it has then.
        const int before = link.UpdateState();
        link.setUpdateState(RegisterSync::UpdContRead);
        link.transfer().watchWrites();
        change();
        failure = link.transfer().writeFailure();
        if (failure.isEmpty())
            failure = link.transfer().verifyWrites();
        if (link.UpdateState() == RegisterSync::UpdContRead)
            link.setUpdateState(before);
    });
    if (!failure.isEmpty())
        fail(QStringLiteral("the set-up was not made: %1").arg(failure));
    m_session->deliverMessages();
}

std::unique_ptr<PyCapture> PyBoard::acquire(const QList<int> &channels, int samples, int width, bool rdyAll,
                                            int captures)
{
    session();
    if (channels.isEmpty())
        throw py::value_error("acquire needs at least one channel");
    for (int channel : channels)
        checkChannel(channel);
    if (samples < 4)
        throw py::value_error(QStringLiteral("samples must be 4 or more, not %1").arg(samples).toStdString());
    if (width != 16 && width != 24)
        throw py::value_error(QStringLiteral("width must be 16 or 24, not %1").arg(width).toStdString());
    if (captures < 1)
        throw py::value_error("captures must be 1 or more");
    AcquireSetup setup;
    setup.variantCode = m_variantCode;
    setup.channels = channels;
    setup.samples = samples;
    setup.width = width / 8;
    setup.rdyAll = rdyAll;

    // As acquire --captures: the set-up made once, then the captures one after another;
    // Ctrl+C ends the series as the dialog's Cancel does.
    auto capture = std::make_unique<PyCapture>(m_variantCode);
    CaptureSeries series(m_session->link());
    CaptureSet set;
    QString failure;
    PyWait::run(
        [&] {
            failure = setup.makeOn(*m_session);
            if (!failure.isEmpty()) {
                failure = QStringLiteral("the set-up was not made: %1").arg(failure);
                return;
            }
            const std::optional<ContReadResult> result = AcquireSetup::acquireSeries(
                *m_session, capture->data(), setup.amountFor(*m_session, capture->data()), series, captures,
                set);
            if (!result || !result->clean())
                failure = result ? result->message() : QStringLiteral("no acquisition ran");
        },
        [&series] { series.cancel(); });
    if (!failure.isEmpty())
        fail(failure);
    if (!capture->data().Valid(-1))
        fail(QStringLiteral("the board delivered no channel with enough samples"));
    m_session->deliverMessages();
    return capture;
}

py::list PyBoard::sweep(int channel, const QList<int> &filterWords, const QList<double> &conversionTimesUs,
                        const QList<bool> &chops, const QList<int> &ranges, int samples)
{
    QM4168 &m = session().model();
    checkChannel(channel);
    for (int range : ranges)
        if (range < 0 || range >= m.RangeCount())
            throw py::value_error(QStringLiteral("range code %1 does not exist on this variant (0..%2)")
                                      .arg(range)
                                      .arg(m.RangeCount() - 1)
                                      .toStdString());
    if (samples < 4)
        throw py::value_error(QStringLiteral("samples must be 4 or more, not %1").arg(samples).toStdString());
    NoiseSweepSettings settings;
    settings.channel = channel;
    if (!filterWords.isEmpty())
        settings.filterWords = filterWords;
    settings.conversionTimesUs = conversionTimesUs;
    if (!chops.isEmpty())
        settings.chops = chops;
    if (!ranges.isEmpty())
        settings.ranges = ranges;
    settings.samples = samples;

    BoardLink &link = m_session->link();
    link.contRead().setRequestTimeOutMs(2000);
    NoiseSweep noiseSweep(m, link);
    bool completed = false;
    PyWait::run([&] { completed = noiseSweep.run(settings); }, [&] { noiseSweep.cancel(); });
    if (!completed)
        fail(noiseSweep.stopMessage());
    m_session->deliverMessages();
    py::list rows;
    for (const NoiseRow &r : noiseSweep.rows()) {
        py::dict d;
        d["filter_word"] = r.filterWord;
        d["chop"] = r.chop;
        d["conversion_time_us"] = r.conversionTimeUs;
        d["data_rate_hz"] = r.dataRateHz;
        d["range_code"] = r.rangeCode;
        d["range_v"] = r.rangeVolts;
        d["bipolar"] = r.bipolar;
        d["samples"] = r.samples;
        d["rms_noise_uv"] = r.rmsNoiseUv;
        d["pp_noise_uv"] = r.peakNoiseUv;
        d["rms_resolution_bits"] = r.rmsBits;
        d["pp_resolution_bits"] = r.peakBits;
        d["pp_estimated_uv"] = r.peakEstimatedUv;
        d["pp_estimated_resolution_bits"] = r.peakEstimatedBits;
        rows.append(d);
    }
    return rows;
}
