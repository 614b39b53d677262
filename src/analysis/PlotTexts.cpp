#include "PlotTexts.h"

PlotTexts plotTexts(PlotKind kind)
{
    switch (kind) {
    case PlotKind::Histogram:
        return {QStringLiteral("FormHist"),
                QStringLiteral("Histogram"),
                QStringLiteral("Cursor Position :"),
                QStringLiteral("Nb Codes:"),
                QStringLiteral("Nb of Code"),
                QStringLiteral("Value (Dec)"),
                false,
                QStringLiteral("code"),
                QStringLiteral("count")};
    case PlotKind::Spectrum:
        return {QStringLiteral("FormFFT"),
                QStringLiteral("FFT"),
                QStringLiteral("Frequency (Hz):"),
                QStringLiteral("Value (dB):"),
                QStringLiteral("Gain (dB)"),
                QStringLiteral("Fraquency (Hz)"),
                true,
                QStringLiteral("frequency_hz"),
                QStringLiteral("level_db")};
    case PlotKind::Time:
        break;
    }
    return {QStringLiteral("FormGraph1"),
            QStringLiteral("Graph"),
            QStringLiteral("Cursor Position :"),
            QStringLiteral("Value (Dec):"),
            QStringLiteral("Value (Dec)"),
            QStringLiteral("Sample"),
            false,
            QStringLiteral("sample"),
            QStringLiteral("code")};
}
