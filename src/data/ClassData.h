#pragma once

#include <QObject>

// The sample store: acquired samples per channel, their acquisition conditions and
// statistics. Windows follow its events.
class ClassData : public QObject
{
    Q_OBJECT

public:
    explicit ClassData(QObject *parent = nullptr);

    int Channel() const { return m_channel; }

    void Process();
    void Update();

Q_SIGNALS:
    void ChannelChanged(int channel);
    void DataChanged(int channel);
    void DataCleared();

private:
    int m_channel = 0;
};
