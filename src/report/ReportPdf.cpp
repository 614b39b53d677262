#include "ReportPdf.h"

#include "ReportFigures.h"
#include "ReportHtml.h"
#include "app/AppVersion.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>

#include <vector>

namespace {

// The PDF is laid out at the screen's 96 dots per inch, as the plot exports are.
constexpr int Dpi = 96;
constexpr int FooterHeight = 24;
const QSize PlotSize(660, 380);
constexpr int PlotObject = QTextFormat::UserObject + 1;
constexpr int PlotIndex = QTextFormat::UserProperty + 1;

// Draws the plot pictures where the text holds their object characters.
class PlotPictures : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    std::vector<QPicture> pictures;

    QSizeF intrinsicSize(QTextDocument *, int, const QTextFormat &) override { return PlotSize; }
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *, int,
                    const QTextFormat &format) override
    {
        const auto index = static_cast<size_t>(format.property(PlotIndex).toInt());
        if (index >= pictures.size())
            return;
        painter->save();
        painter->translate(rect.topLeft());
        painter->drawPicture(0, 0, pictures[index]);
        painter->restore();
    }
};

QString marker(size_t index)
{
    return QStringLiteral("@@plot%1@@").arg(index);
}

} // namespace

QByteArray reportPdf(const ReportContent &report, ReportFigures &figures)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(Dpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    writer.setTitle(report.title);
    writer.setCreator(QStringLiteral("QM416x evaluation software ") + AppVersion::text());

    PlotPictures plots;
    const QString html = reportHtml(
        report,
        [&](const ReportFigure &figure) {
            const QPicture picture = figures.picture(figure, PlotSize);
            if (picture.isNull())
                return QStringLiteral("(not drawn: %1)").arg(figures.message().toHtmlEscaped());
            plots.pictures.push_back(picture);
            return marker(plots.pictures.size() - 1);
        },
        false);

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    document.documentLayout()->registerHandler(PlotObject, &plots);
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    document.setHtml(html);
    for (size_t i = 0; i < plots.pictures.size(); ++i) {
        QTextCursor cursor = document.find(marker(i));
        if (cursor.isNull())
            continue;
        QTextCharFormat format;
        format.setObjectType(PlotObject);
        format.setProperty(PlotIndex, static_cast<int>(i));
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
    }
    const QSizeF page(writer.width(), writer.height() - FooterHeight);
    document.setPageSize(page);

    QPainter painter;
    if (!painter.begin(&writer))
        return {};
    const int pages = document.pageCount();
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -p * page.height());
        document.drawContents(&painter, QRectF(0, p * page.height(), page.width(), page.height()));
        painter.restore();
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
        painter.drawText(QRectF(0, page.height(), page.width(), FooterHeight),
                         Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages));
    }
    painter.end();
    return bytes;
}

#include "ReportPdf.moc"
