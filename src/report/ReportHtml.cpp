#include "ReportHtml.h"

namespace {

QString escaped(const QString &text)
{
    return text.trimmed().toHtmlEscaped();
}

QString list(const QStringList &lines)
{
    QString html = QStringLiteral("<ul>\n");
    for (const QString &line : lines)
        html += QStringLiteral("<li>%1</li>\n").arg(escaped(line));
    return html + QStringLiteral("</ul>\n");
}

QString table(const QList<QStringList> &rows, int headingRows)
{
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n");
    for (int r = 0; r < rows.size(); ++r) {
        html += QStringLiteral("<tr>");
        const bool heading =
            r < headingRows || (rows.at(r).value(0).isEmpty() && !rows.at(r).value(2).isEmpty());
        for (const QString &cell : rows.at(r))
            html += heading ? QStringLiteral("<th>%1</th>").arg(escaped(cell))
                            : QStringLiteral("<td>%1</td>").arg(escaped(cell));
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table>\n");
}

const char *const Style =
    "body { font-family: 'DejaVu Sans', sans-serif; font-size: 10pt; margin: 2em; }\n"
    "h1 { font-size: 16pt; } h2 { font-size: 13pt; margin-top: 1.5em; }\n"
    "h3 { font-size: 11pt; }\n"
    "table { border-collapse: collapse; } th, td { padding: 2px 8px; text-align: left; }\n"
    "td.value { color: #0000c0; } img { max-width: 100%; }\n";

} // namespace

QString reportHtml(const ReportContent &report,
                   const std::function<QString(const ReportFigure &)> &figureHtml, bool standalone)
{
    QString html;
    if (standalone)
        html += QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>%1</title>\n"
                               "<style>\n%2</style></head>\n<body>\n")
                    .arg(escaped(report.title), QLatin1String(Style));
    html += QStringLiteral("<h1>%1</h1>\n").arg(escaped(report.title));
    QStringList about;
    for (const QString &line : report.about)
        about << escaped(line);
    html += QStringLiteral("<p>%1</p>\n").arg(about.join(QStringLiteral("<br>\n")));
    html += QStringLiteral("<h2>Set-up</h2>\n") + list(report.setup);
    if (!report.registers.isEmpty())
        html += QStringLiteral("<h3>Register image</h3>\n") + table(report.registers, 1);
    for (const ReportChannel &channel : report.channels) {
        // Each channel starts a page of its own when printed.
        html +=
            QStringLiteral("<h2 style=\"page-break-before: always\">Channel %1</h2>\n").arg(channel.channel);
        html += QStringLiteral("<h3>Noise figures</h3>\n<table cellspacing=\"0\" cellpadding=\"2\">\n");
        for (const StatisticsCell &cell : channel.figures)
            html += QStringLiteral(
                        "<tr><td>%1</td><td class=\"value\"><font color=\"#0000c0\">%2</font></td></tr>\n")
                        .arg(escaped(cell.label), escaped(cell.value));
        html += QStringLiteral("</table>\n");
        for (const ReportFigure &figure : channel.plots) {
            // The plot's own title names it: no heading that could stay behind at a page's foot.
            html += QStringLiteral("<p>%1</p>\n").arg(figureHtml(figure));
            if (!figure.notes.isEmpty())
                html += list(figure.notes);
        }
    }
    html += QStringLiteral("<h2>Definitions of the spectrum's figures</h2>\n") + list(report.definitions);
    if (standalone)
        html += QStringLiteral("</body></html>\n");
    return html;
}
