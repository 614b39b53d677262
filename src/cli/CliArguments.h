#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// The arguments of one command, read by QCommandLineParser: positional words, options with
// a value ("--channel 3" or "--channel=3") and flags ("--csv"). An entry "-o|--output" names
// one option with two spellings; has() and value() answer to either. Every command also
// knows "-h", "--help" and "-q", "--quiet" (no progress or notices on standard error).
// Unknown options, missing values and values given to flags are refused with the parser's
// standard messages; a value option given twice is refused as well.
class CliArguments
{
public:
    CliArguments(const QStringList &arguments, const QStringList &valueOptions, const QStringList &flags);

    // Empty when the arguments were understood, else what was wrong with them.
    QString error() const { return m_error; }
    bool help() const { return m_help; }
    QStringList positional() const { return m_positional; }
    bool has(const QString &option) const { return m_values.contains(canonical(option)); }
    QString value(const QString &option) const { return m_values.value(canonical(option)); }

    // The variant code (2, 4, 8, 9) of a --variant value "62", "64", "68" or "69"; 0 otherwise.
    static int variantCode(const QString &text);
    // The --variant option as a variant code: fallback when it is absent, 0 when it names no
    // variant (variantError() then says why).
    int variantOption(int fallback) const;
    QString variantError() const;
    // What every command does first: with --help, prints help and gives 0; with bad options,
    // or with positional words where the command takes none, reports them and gives 2.
    // Nothing when the command goes on.
    std::optional<int> answerFirst(const QString &help, bool takesWords = true) const;
    // The --window option as a window selector 0..5 (a number or a name such as "Hanning"):
    // 2 (Hanning) when absent, -1 when it names no window (windowError() then says why).
    int windowOption() const;
    QString windowError() const;
    // A hexadecimal number (optional 0x prefix or h suffix) from 0 to max; -1 when it is not one.
    static qint64 hexNumber(const QString &text, qint64 max);

    // Whether some command of this run was asked for its help, and the text every command's
    // help ends with: the common options and the exit codes.
    static bool helpAsked();
    static QString commonHelp();

private:
    QString canonical(const QString &option) const { return m_aliases.value(option, option); }

    QString m_error;
    bool m_help = false;
    QStringList m_positional;
    QHash<QString, QString> m_values;  // by the first spelling of the option
    QHash<QString, QString> m_aliases; // any spelling -> the first spelling
};
