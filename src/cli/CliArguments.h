#pragma once

#include <QString>
#include <QStringList>

// The arguments of a board command: --port, --variant, --help anywhere, the rest in order.
struct CliArguments
{
    QString port;
    int variantCode = 8; // 2, 4, 8 or 9
    bool help = false;
    QStringList words;
    QString error; // set when the arguments cannot be used

    static CliArguments parse(const QStringList &arguments, bool allowVariant);
    // A register address or value in hexadecimal (optional 0x / trailing h); -1 when invalid.
    static qint64 hexNumber(const QString &text, qint64 max);
};
