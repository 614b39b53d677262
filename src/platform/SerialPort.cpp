#include "SerialPort.h"

void SerialPort::notifyReceived()
{
    if (m_receiveThreshold <= 0 || m_notifying)
        return;
    m_notifying = true;
    Q_EMIT received();
    m_notifying = false;
}
