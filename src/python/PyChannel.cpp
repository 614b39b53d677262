#include "PyChannel.h" // Python's headers first

#include "PyBoard.h"
#include "editors/ChannelEdits.h"
#include "editors/ChannelLists.h"
#include "model/QM4168.h"

namespace py = pybind11;

PyChannel::PyChannel(PyBoard &board, int channel)
    : m_board(board)
    , m_channel(channel)
{
    board.checkChannel(channel);
}

bool PyChannel::enabled() const
{
    return m_board.model().Enable(m_channel);
}

void PyChannel::setEnabled(bool on)
{
    m_board.edit([&] { ChannelEdits::setEnable(m_board.model(), m_channel, on); });
}

QString PyChannel::range() const
{
    const QM4168 &model = m_board.model();
    return ChannelEdits::rangeText(model, model.Rng(m_channel));
}

void PyChannel::setRange(const QString &text)
{
    QM4168 &model = m_board.model();
    const int code = ChannelEdits::rangeCodeOfText(model, text);
    if (code < 0) {
        QStringList texts;
        for (int c : ChannelLists::rangeCodes(model.EvBoard()))
            texts << QStringLiteral("'%1'").arg(ChannelEdits::rangeText(model, c));
        throw py::value_error(QStringLiteral("range must be one of %1, not '%2'")
                                  .arg(texts.join(QStringLiteral(", ")), text)
                                  .toStdString());
    }
    m_board.edit([&] { ChannelEdits::setRange(model, m_channel, code); });
}

bool PyChannel::chop() const
{
    return m_board.model().Chop(m_channel);
}

void PyChannel::setChop(bool on)
{
    m_board.edit([&] { ChannelEdits::setChop(m_board.model(), m_channel, on); });
}

int PyChannel::filterWord() const
{
    return m_board.model().ConvTimeRegister(m_channel) & 0x7F;
}

void PyChannel::setFilterWord(int word)
{
    if (word < 2 || word > 127)
        throw py::value_error(QStringLiteral("filter_word must be 2..127, not %1").arg(word).toStdString());
    m_board.edit([&] { ChannelEdits::setFilterWord(m_board.model(), m_channel, word); });
}

double PyChannel::conversionTimeUs() const
{
    return m_board.model().ConversionTime(m_channel);
}

void PyChannel::setConversionTimeUs(double microseconds)
{
    if (!(microseconds > 0))
        throw py::value_error("conversion_time_us must be above 0");
    m_board.edit([&] { ChannelEdits::setConversionTime(m_board.model(), m_channel, microseconds); });
}
