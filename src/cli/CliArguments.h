#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The arguments of one command: positional words, options with a value ("--channel 3"
// or "--channel=3") and flags ("--csv"). "--help" and "-h" are always known flags. A short
// option ("-o FILE") is one only when the command names it.
class CliArguments
{
public:
    CliArguments(const QStringList &arguments, const QStringList &valueOptions, const QStringList &flags);

    // Empty when the arguments were understood, else what was wrong with them.
    QString error() const { return m_error; }
    bool help() const { return m_help; }
    QStringList positional() const { return m_positional; }
    bool has(const QString &option) const { return m_values.contains(option); }
    QString value(const QString &option) const { return m_values.value(option); }

    // The variant code (2, 4, 8, 9) of a --variant value "62", "64", "68" or "69"; 0 otherwise.
    static int variantCode(const QString &text);
    // The --variant option as a variant code: fallback when it is absent, 0 when it names no
    // variant (variantError() then says why).
    int variantOption(int fallback) const;
    QString variantError() const;
    // A hexadecimal number (optional 0x prefix or h suffix) from 0 to max; -1 when it is not one.
    static qint64 hexNumber(const QString &text, qint64 max);

private:
    QString m_error;
    bool m_help = false;
    QStringList m_positional;
    QHash<QString, QString> m_values;
};
