// The data-file reader over any bytes, under every chip variant (and test mode):
//  - a failed read leaves the store as it was and raises no event;
//  - a successful read with data, written back and read again, gives the same store
//    (codes, conditions; numbers as the file shows them, to 15 significant digits).

#include "FuzzCheck.h"
#include "data/ClassData.h"
#include "data/DataFile.h"
#include "data/DecimalText.h"
#include "model/QM4168.h"

#include <QBuffer>

namespace {

// Everything a reader could change, as text.
QByteArray describe(const ClassData &data)
{
    QByteArray text = QByteArray::number(data.DataWidth()) + ' ' + QByteArray::number(data.Clamp()) + ' ' +
                      plainDecimal(data.RefVoltage()).toLatin1() + ' ' + QByteArray::number(data.Channel());
    for (int c = 0; c <= data.MaxChannel(); ++c) {
        text +=
            '\n' + QByteArray::number(data.Rng(c)) + ' ' + plainDecimal(data.ChannelTime(c)).toLatin1() + ':';
        for (int i = 1; i <= data.DataCount(c); ++i)
            text += ' ' + QByteArray::number(data.StatusByte(c, i)) + '/' +
                    QByteArray::number(data.DataWord(c, i));
    }
    return text;
}

// What a file keeps of a store: the conditions and codes of the valid channels.
QByteArray describeSaved(const ClassData &data, const QM4168 &adc)
{
    QByteArray text = QByteArray::number(data.DataWidth()) + ' ' + QByteArray::number(data.Clamp()) + ' ' +
                      plainDecimal(data.RefVoltage()).toLatin1();
    for (int c = 0; c <= adc.MaxChannel(); ++c) {
        if (!data.Valid(c))
            continue;
        text += "\nChannel " + QByteArray::number(c) + ' ' + QByteArray::number(adc.Range(data.Rng(c))) +
                ' ' + QByteArray::number(adc.Polarity(data.Rng(c))) + ' ' +
                plainDecimal(data.ChannelTime(c)).toLatin1() + ':';
        for (qint32 code : data.codes(c))
            text += ' ' + QByteArray::number(code);
    }
    return text;
}

// A store holding something, so that a read that should not touch it has something to lose.
void fillStore(ClassData &data)
{
    data.setDataWidth(3);
    data.setRefVoltage(2.5);
    data.setRng(1, 2);
    data.setChannelTime(1, 312.5);
    for (int i = 0; i < 5; ++i)
        data.AddData(1, 0x800000 + i * 17, 0x28);
    data.Process();
}

void checkVariant(const QByteArray &bytes, int variant, bool testMode)
{
    QM4168 adc;
    adc.setTestEnable(testMode);
    adc.setEvBoard(variant);

    ClassData data;
    fillStore(data);
    int events = 0;
    QObject::connect(&data, &ClassData::DataCleared, [&] { ++events; });
    QObject::connect(&data, &ClassData::DataChanged, [&] { ++events; });
    QObject::connect(&data, &ClassData::ChannelChanged, [&] { ++events; });
    const QByteArray before = describe(data);

    QByteArray input = bytes;
    QBuffer device(&input);
    device.open(QIODevice::ReadOnly);
    const DataFileError error = ReadDataFile(device, data, adc);
    if (error.isError()) {
        FUZZ_CHECK(!error.message().isEmpty());
        FUZZ_CHECK(describe(data) == before);
        FUZZ_CHECK(events == 0);
        return;
    }
    FUZZ_CHECK(events == 1); // DataChanged: the new contents take the place of the old
    if (!data.Valid(-1))
        return; // nothing to save: the program does not write such a store

    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    FUZZ_CHECK(!WriteDataFile(out, data, adc).isError());
    out.close();
    ClassData again;
    out.open(QIODevice::ReadOnly);
    const DataFileError reread = ReadDataFile(out, again, adc);
    if (reread.isError())
        std::fprintf(stderr, "%s\n%s\n", qPrintable(reread.message()), written.left(2000).constData());
    FUZZ_CHECK(!reread.isError());
    FUZZ_CHECK(describeSaved(again, adc) == describeSaved(data, adc));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (int variant : {2, 4, 8, 9})
        checkVariant(bytes, variant, false);
    checkVariant(bytes, 2, true);
    return 0;
}
