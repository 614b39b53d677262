// The settings-file reader over any bytes, under every chip variant:
//  - nothing is ever sent to the chip while reading (no RegisterSend);
//  - a file refused at its header leaves the model as it was;
//  - every register the reader wrote fits its register's width;
//  - a file read completely, written back and read into a fresh model gives the same file.

#include "FuzzCheck.h"
#include "app/SettingsFile.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"

#include <QBuffer>

namespace {

void prepare(QM4168 &adc, int variant)
{
    adc.setEvBoard(variant);
    RegisterDesign::applyTo(adc);
    LoadRegisterDefaults(adc, variant);
}

QList<qint32> cache(const QM4168 &adc)
{
    QList<qint32> values;
    for (int address = 0; address <= 0x3F; ++address)
        values << adc.Register(address);
    return values;
}

SettingsReadResult read(const QByteArray &bytes, QM4168 &adc)
{
    QByteArray input = bytes;
    QBuffer device(&input);
    device.open(QIODevice::ReadOnly);
    return ReadSettingsFile(device, adc);
}

void checkVariant(const QByteArray &bytes, int variant)
{
    QM4168 adc;
    prepare(adc, variant);
    const QList<qint32> before = cache(adc);
    int sends = 0;
    QObject::connect(&adc, &QM4168::RegisterSend, [&] { ++sends; });

    const SettingsReadResult result = read(bytes, adc);
    FUZZ_CHECK(sends == 0);
    FUZZ_CHECK(result.ok() == result.message.isEmpty());
    if (result.outcome == SettingsReadResult::NotValid) {
        FUZZ_CHECK(cache(adc) == before);
        return;
    }
    for (int address = 1; address <= 0x3F; ++address) {
        const int bytesWide = adc.RegBytes(address);
        if (bytesWide > 0 && bytesWide < 4)
            FUZZ_CHECK(quint32(adc.Register(address)) < (quint32(1) << (8 * bytesWide)) ||
                       adc.Register(address) == before.at(address));
    }
    if (!result.ok())
        return;

    const QByteArray written = SettingsFileText(adc);
    QM4168 again;
    prepare(again, variant);
    FUZZ_CHECK(read(written, again).ok());
    FUZZ_CHECK(SettingsFileText(again) == written);
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
        checkVariant(bytes, variant);
    return 0;
}
