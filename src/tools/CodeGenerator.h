#pragma once

#include <QStringList>
#include <QVector>

class QM4168;

// The lines of pseudo-code that show what a microcontroller sends to the converter for
// one register access, and the copy and paste rules of the code generator's list.
class CodeGenerator
{
public:
    // Register name by address as the lines show it; empty for addresses outside 1..63.
    static QString registerName(int address);

    // "Write SPI (0x<address>, 8); Communication", "Write SPI (0x<value>, <bits>); <name>", "".
    static QStringList writeOperation(const QM4168 &model, int address);
    // "Write SPI (0x<address OR 40h>, 8); Communications", "Value= Read SPI (<bits>);", "".
    static QStringList readOperation(const QM4168 &model, int address);

    // The selected lines in list order, each followed by CR LF.
    static QString copyText(const QStringList &lines, const QVector<bool> &selected);

    // Inserts text as a new line in front of every selected line. The list is walked by
    // position over its original length, and a selected line moves down with every
    // insertion, so the line first found at position k receives (length - k) copies.
    // Selection flags move with their lines; inserted lines are not selected.
    static void paste(QStringList &lines, QVector<bool> &selected, const QString &text);
};
