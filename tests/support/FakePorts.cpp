#include "FakePorts.h"

SerialPortFactory FakePorts::factory()
{
    return [this](const QString &) -> std::unique_ptr<SerialPort> {
        auto port = std::make_unique<FakeSerialPort>();
        if (configure)
            configure(*port);
        created.append(port.get());
        return port;
    };
}
