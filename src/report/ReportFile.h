#pragma once

#include "ReportContent.h"
#include "data/DataFileError.h"

#include <QByteArray>
#include <QString>

class ReportFigures;

// Report files: PDF (ReportPdf) for a path ending in .pdf, one self-contained HTML page for
// .html or .htm, its plots embedded as PNG data. Written whole or not at all
// (WriteWholeFile).
namespace ReportFile {

bool knownFormat(const QString &path);
QByteArray html(const ReportContent &report, ReportFigures &figures);
DataFileError write(const QString &path, const ReportContent &report, ReportFigures &figures);
// The report of data (buildReport, dated now) written to path.
DataFileError write(const QString &path, const ClassData &data, const QM4168 &adc, const QM4168 *setup,
                    const QList<int> &channels, int window, const QString &source);

} // namespace ReportFile
