#pragma once

#include <QString>
#include <QVector>

#include <array>

class QM4168;

// The register rows of the register editor: one entry per global register and one per
// block of per-channel registers, indexed by the register's base address. The design
// values are the register image the model starts from, and the row types give the model
// its register byte counts.
class RegisterDesign
{
public:
    // Row types: 0 8-bit value, 1 16-bit value, 2 24-bit value, 3 8 bits shown one by one.
    enum Type
    {
        Byte = 0,
        Word = 1,
        Wide = 2,
        Bits = 3
    };

    struct Row
    {
        int index;
        QString name;
        int type;
        bool read;
        bool write;
        qint32 value;
        std::array<QString, 8> bitNames; // bit 7 first
    };

    static const QVector<Row> &rows();
    static const Row *row(int index);

    // The row that shows address a: a itself below 8, else a AND 38h.
    static int rowIndexOf(int address);
    // Byte count of a row type: 2 for 16-bit rows, 3 for 24-bit rows, else 1.
    static int bytesOf(int type);

    // Pushes widths and design values into the model for every address 0..38h, as the
    // register editor does when it loads: RegBytes from the row type, then the row's value
    // written with send false (channel status values carry their channel in bits 7..5).
    static void applyTo(QM4168 &model);
};
