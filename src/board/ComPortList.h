#pragma once

#include <QStringList>

// The entries of the board window's port list: "Disabled", "Com1" .. "Com4", then the
// other serial ports the system reports (USB adapters, given as device paths), then the
// simulated board. Index 0 closes the port; the indexes of the first five never change.
class ComPortList
{
public:
    static constexpr auto Disabled = "Disabled";
    static constexpr auto Simulated = "Simulated board";

    static QStringList entries(const QStringList &otherSystemPorts);

    // The entry to select for a stored choice. A stored name wins: when that port is gone
    // the choice is "Disabled" (0) rather than whatever port now has its index. Without a
    // name the stored index is used when it is valid, else 0.
    static int restoreIndex(const QStringList &entries, const QString &storedName,
                            const QString &storedIndex);
};
