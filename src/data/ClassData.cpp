#include "ClassData.h"

ClassData::ClassData(QObject *parent)
    : QObject(parent)
{
}

void ClassData::Process()
{
}

void ClassData::Update()
{
    Q_EMIT DataChanged(m_channel);
}
