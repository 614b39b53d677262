#include "CliArguments.h"

#include "CliOutput.h"
#include "analysis/FftWindow.h"

#include <QCommandLineParser>

namespace {
bool helpWasAsked = false;

// "--channel" -> "channel", "-o" -> "o".
QString bare(const QString &spelling)
{
    qsizetype dashes = 0;
    while (dashes < spelling.size() && dashes < 2 && spelling.at(dashes) == QLatin1Char('-'))
        ++dashes;
    return spelling.mid(dashes);
}
} // namespace

CliArguments::CliArguments(const QStringList &arguments, const QStringList &valueOptions,
                           const QStringList &flags)
{
    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption quietOption(QStringList{QStringLiteral("q"), QStringLiteral("quiet")});
    parser.addOption(helpOption);
    parser.addOption(quietOption);
    QList<QPair<QString, QCommandLineOption>> options; // first spelling, option
    for (const QStringList *list : {&valueOptions, &flags}) {
        for (const QString &entry : *list) {
            const QStringList spellings = entry.split(QLatin1Char('|'));
            QStringList names;
            for (const QString &spelling : spellings) {
                m_aliases.insert(spelling, spellings.first());
                names << bare(spelling);
            }
            QCommandLineOption option(names);
            if (list == &valueOptions)
                option.setValueName(QStringLiteral("VALUE"));
            parser.addOption(option);
            options.append({spellings.first(), option});
        }
    }
    if (!parser.parse(QStringList{QStringLiteral("qm416x-cli")} + arguments)) {
        m_error = parser.errorText();
        m_help = arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"));
    } else {
        m_help = parser.isSet(helpOption);
        m_positional = parser.positionalArguments();
        for (const auto &[name, option] : std::as_const(options)) {
            if (!parser.isSet(option))
                continue;
            const QStringList values = parser.values(option);
            if (values.size() > 1) {
                m_error = QStringLiteral("option %1 given twice").arg(name);
                break;
            }
            m_values.insert(name, values.value(0));
        }
    }
    if (m_help) {
        m_error.clear();
        helpWasAsked = true;
    }
    if (parser.isSet(quietOption))
        CliOutput::setQuiet(true);
}

bool CliArguments::helpAsked()
{
    return helpWasAsked;
}

QString CliArguments::commonHelp()
{
    return QStringLiteral("\nEvery command also takes:\n"
                          "  -h, --help      this text\n"
                          "  -q, --quiet     no progress or notices on standard error (errors still)\n"
                          "Options take their value as '--opt VALUE' or '--opt=VALUE'; '--' ends them.\n\n"
                          "Exit status:\n"
                          "  0  success\n"
                          "  1  the work failed (bad file, board error, refused data)\n"
                          "  2  usage error (unknown option, missing or bad value)\n");
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

int CliArguments::windowOption() const
{
    if (!has(QStringLiteral("--window")))
        return 2;
    const QString text = value(QStringLiteral("--window"));
    bool isNumber = false;
    int window = text.toInt(&isNumber);
    if (!isNumber)
        window = FftWindow::selectorOf(text);
    return window >= 0 && window <= 5 ? window : -1;
}

QString CliArguments::windowError() const
{
    return QStringLiteral("--window must be 0..5 or one of %1, not '%2'")
        .arg(FftWindow::names().join(QStringLiteral(", ")), value(QStringLiteral("--window")));
}

std::optional<int> CliArguments::answerFirst(const QString &help, bool takesWords) const
{
    if (this->help()) {
        CliOutput::out(help);
        return 0;
    }
    if (!error().isEmpty())
        return CliOutput::usageError(error());
    if (!takesWords && !positional().isEmpty())
        return CliOutput::usageError(QStringLiteral("unexpected argument '%1'").arg(positional().first()));
    return std::nullopt;
}
