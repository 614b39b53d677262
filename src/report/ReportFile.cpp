#include "ReportFile.h"

#include "ReportFigures.h"
#include "ReportHtml.h"
#include "ReportPdf.h"
#include "data/WholeFile.h"

#include <QBuffer>

namespace {

const QSize ImageSize(760, 440);

bool isPdf(const QString &path)
{
    return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

} // namespace

namespace ReportFile {

bool knownFormat(const QString &path)
{
    return isPdf(path) || path.endsWith(QLatin1String(".html"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive);
}

QByteArray html(const ReportContent &report, ReportFigures &figures)
{
    const QString page = reportHtml(
        report,
        [&figures](const ReportFigure &figure) {
            const QImage image = figures.image(figure, ImageSize);
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            if (image.isNull() || !image.save(&buffer, "PNG"))
                return QStringLiteral("(not drawn: %1)").arg(figures.message().toHtmlEscaped());
            return QStringLiteral(
                       "<img alt=\"%1\" width=\"%2\" height=\"%3\" src=\"data:image/png;base64,%4\">")
                .arg(figure.caption.toHtmlEscaped())
                .arg(ImageSize.width())
                .arg(ImageSize.height())
                .arg(QString::fromLatin1(png.toBase64()));
        },
        true);
    return page.toUtf8();
}

DataFileError write(const QString &path, const ReportContent &report, ReportFigures &figures)
{
    const QByteArray bytes = isPdf(path) ? reportPdf(report, figures) : html(report, figures);
    if (bytes.isEmpty())
        return DataFileError::platform(DataFileError::DeviceIOError);
    return WriteWholeFile(path, bytes);
}

DataFileError write(const QString &path, const ClassData &data, const QM4168 &adc, const QM4168 *setup,
                    const QList<int> &channels, int window, const QString &source)
{
    const QDateTime now = QDateTime::currentDateTime();
    const ReportContent report = buildReport(data, adc, setup, channels, window, now, source);
    ReportFigures figures(data, adc, window, now);
    return write(path, report, figures);
}

} // namespace ReportFile
