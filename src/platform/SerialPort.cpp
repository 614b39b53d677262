#include "SerialPort.h"

void SerialPort::notifyReceived()
{
    if (m_receiveThreshold > 0)
        Q_EMIT received();
}
