#include "CliArguments.h"

CliArguments CliArguments::parse(const QStringList &arguments, bool allowVariant)
{
    CliArguments a;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &w = arguments.at(i);
        if (w == QLatin1String("--help") || w == QLatin1String("-h")) {
            a.help = true;
        } else if (w == QLatin1String("--port")) {
            if (i + 1 >= arguments.size()) {
                a.error = QStringLiteral("--port needs a port name or device path");
                return a;
            }
            a.port = arguments.at(++i);
        } else if (w == QLatin1String("--variant") && allowVariant) {
            const QString v = arguments.value(++i);
            const int n = v.toInt();
            if (n != 62 && n != 64 && n != 68 && n != 69) {
                a.error = QStringLiteral("--variant needs 62, 64, 68 or 69");
                return a;
            }
            a.variantCode = n - 60;
        } else if (w.startsWith(QLatin1String("--"))) {
            a.error = QStringLiteral("unknown option '%1'").arg(w);
            return a;
        } else {
            a.words << w;
        }
    }
    return a;
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
    bool ok = false;
    const qint64 value = t.toLongLong(&ok, 16);
    if (!ok || value < 0 || value > max)
        return -1;
    for (const QChar c : t)
        if (!c.isLetterOrNumber())
            return -1;
    return value;
}
