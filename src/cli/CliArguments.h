#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The arguments of one command: positional words, options with a value ("--channel 3"
// or "--channel=3") and flags ("--csv"). "--help" and "-h" are always known flags.
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

private:
    QString m_error;
    bool m_help = false;
    QStringList m_positional;
    QHash<QString, QString> m_values;
};
