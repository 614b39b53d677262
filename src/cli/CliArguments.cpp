#include "CliArguments.h"

CliArguments::CliArguments(const QStringList &arguments, const QStringList &valueOptions,
                           const QStringList &flags)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString word = arguments.at(i);
        if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            m_help = true;
            continue;
        }
        // Options start with "--"; a short one ("-o") only when the command names it.
        const bool named = valueOptions.contains(word) || flags.contains(word);
        if ((!word.startsWith(QLatin1String("--")) && !named) || word == QLatin1String("--")) {
            m_positional << word;
            continue;
        }
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? word : word.left(equals);
        if (flags.contains(name)) {
            if (equals >= 0) {
                m_error = QStringLiteral("option %1 takes no value").arg(name);
                return;
            }
            m_values.insert(name, QString());
        } else if (valueOptions.contains(name)) {
            if (m_values.contains(name)) {
                m_error = QStringLiteral("option %1 given twice").arg(name);
                return;
            }
            if (equals >= 0) {
                m_values.insert(name, word.mid(equals + 1));
            } else if (i + 1 < arguments.size()) {
                m_values.insert(name, arguments.at(++i));
            } else {
                m_error = QStringLiteral("option %1 needs a value").arg(name);
                return;
            }
        } else {
            m_error = QStringLiteral("unknown option %1").arg(name);
            return;
        }
    }
}

int CliArguments::variantCode(const QString &text)
{
    const QStringList names = {QStringLiteral("62"), QStringLiteral("64"), QStringLiteral("68"),
                               QStringLiteral("69")};
    const int index = static_cast<int>(names.indexOf(text));
    return index < 0 ? 0 : QList<int>{2, 4, 8, 9}.at(index);
}

int CliArguments::variantOption(int fallback) const
{
    return has(QStringLiteral("--variant")) ? variantCode(value(QStringLiteral("--variant"))) : fallback;
}

QString CliArguments::variantError() const
{
    return QStringLiteral("--variant must be 62, 64, 68 or 69, not '%1'")
        .arg(value(QStringLiteral("--variant")));
}

qint64 CliArguments::hexNumber(const QString &text, qint64 max)
{
    QString t = text.trimmed();
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        t = t.mid(2);
    else if (t.endsWith(QLatin1Char('h'), Qt::CaseInsensitive))
        t.chop(1);
    if (t.isEmpty() || t.size() > 8)
        return -1;
    for (const QChar c : t)
        if (!c.isLetterOrNumber())
            return -1;
    bool ok = false;
    const qint64 value = t.toLongLong(&ok, 16);
    if (!ok || value < 0 || value > max)
        return -1;
    return value;
}
