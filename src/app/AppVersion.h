#pragma once

#include <QString>

// The program's version: major.minor.revision (file version major.minor.0.revision).
struct AppVersion
{
    static constexpr int Major = QM_VERSION_MAJOR;
    static constexpr int Minor = QM_VERSION_MINOR;
    static constexpr int Revision = QM_VERSION_PATCH;

    // The program's licence (QCustomPlot is GPL-3.0 and FFTW GPL-2.0-or-later).
    static QString licence() { return QStringLiteral("Licence: GPL-3.0-or-later"); }

    static QString text() { return QStringLiteral("%1.%2.%3").arg(Major).arg(Minor).arg(Revision); }
};
