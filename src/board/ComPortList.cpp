#include "ComPortList.h"

QStringList ComPortList::entries(const QStringList &otherSystemPorts)
{
    QStringList list = {QString::fromLatin1(Disabled), QStringLiteral("Com1"), QStringLiteral("Com2"),
                        QStringLiteral("Com3"), QStringLiteral("Com4")};
    for (const QString &port : otherSystemPorts)
        if (!list.contains(port, Qt::CaseInsensitive) && port != QLatin1String(Simulated))
            list << port;
    list << QString::fromLatin1(Simulated);
    return list;
}

int ComPortList::restoreIndex(const QStringList &entries, const QString &storedName,
                              const QString &storedIndex)
{
    if (!storedName.isEmpty())
        return qMax(0, entries.indexOf(storedName));
    bool ok = false;
    const int index = storedIndex.trimmed().toInt(&ok);
    if (ok && index >= 0 && index < entries.size())
        return index;
    return 0;
}
