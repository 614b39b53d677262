// The device model's record of the chip's side of each register (see QM4168.h).

#include "QM4168.h"

bool QM4168::Pending(int address) const
{
    const int cell = IAddress(address);
    return m_chip.pending(cell, m_cache[cell]);
}

bool QM4168::AnyPending() const
{
    for (int cell = 0; cell < CacheCells; ++cell)
        if (m_chip.pending(cell, m_cache[cell]))
            return true;
    return false;
}

qint32 QM4168::ChipValue(int address) const
{
    const int cell = IAddress(address);
    return m_chip.known(cell) ? m_chip.value(cell) : m_cache[cell];
}

void QM4168::setChipValues(const QM4168 &picture)
{
    for (int cell = 0; cell < CacheCells; ++cell)
        m_chip.take(cell, picture.m_cache[cell]);
    for (int cell = 0; cell < CacheCells; ++cell)
        announcePending(cell);
}

void QM4168::setChipValue(int address, qint32 value)
{
    const int cell = IAddress(address);
    m_chip.take(cell, value);
    announcePending(cell);
}

void QM4168::setRegisterFromChip(int address, qint32 value)
{
    m_chip.take(IAddress(address), value);
    setRegister(address, false, value);
}

void QM4168::announcePending(int cell)
{
    const bool pending = m_chip.pending(cell, m_cache[cell]);
    if (m_chip.announce(cell, pending))
        Q_EMIT PendingChanged(cell, pending);
}

void QM4168::chipPicture(QM4168 &picture) const
{
    picture.setTestEnable(m_testEnable);
    picture.setEvBoard(m_evBoard);
    picture.setVref(m_vref);
    picture.setMclk(m_mclk);
    picture.setChannel(m_channel);
    // In address order: the setups (enables) come before the conversion times.
    for (int address = 0; address < CacheCells; ++address) {
        picture.setRegBytes(address, m_regBytes[address]);
        picture.setRegister(address, false, ChipValue(address));
    }
}
