#include "PlotView.h"

#include "AxisTickers.h"
#include "NoteCorner.h"
#include "PlotExport.h"
#include "PlotReadout.h"
#include "PlotTableCsv.h"
#include "data/WholeFile.h"
#include "platform/UserDialogs.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPicture>
#include <QVBoxLayout>
#include <qcustomplot.h>

namespace {

const QString CursorLayer = QStringLiteral("cursor");

// Size of an exported picture when the plot has never been laid out on screen.
constexpr int ExportWidth = 800;
constexpr int ExportHeight = 500;

} // namespace

PlotView::PlotView(UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , m_dialogs(dialogs)
    , m_plot(new QCustomPlot(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plot);

    m_plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    m_plot->setNoAntialiasingOnDrag(true);
    m_graph = m_plot->addGraph();
    m_graph->setPen(QPen(QColor(0, 0, 200), 1));
    m_graph->setLineStyle(QCPGraph::lsLine);

    // The crosshair sits on a layer of its own, so that moving it redraws only that layer.
    m_plot->addLayer(CursorLayer, nullptr, QCustomPlot::limAbove);
    m_plot->layer(CursorLayer)->setMode(QCPLayer::lmBuffered);
    const QPen cursorPen(QColor(200, 0, 0), 0, Qt::DashLine);
    m_crossX = new QCPItemStraightLine(m_plot);
    m_crossY = new QCPItemStraightLine(m_plot);
    for (QCPItemStraightLine *line : {m_crossX, m_crossY}) {
        line->setLayer(CursorLayer);
        line->setPen(cursorPen);
        line->setVisible(false);
        line->setSelectable(false);
    }

    m_note = new QCPItemText(m_plot);
    m_note->setSelectable(false);
    m_note->setPositionAlignment(Qt::AlignTop | Qt::AlignRight);
    m_note->setTextAlignment(Qt::AlignLeft);
    m_note->position->setType(QCPItemPosition::ptAxisRectRatio);
    m_note->position->setCoords(0.99, 0.02);
    m_note->setPadding(QMargins(4, 2, 4, 2));
    m_note->setBrush(QBrush(QColor(255, 255, 255, 220)));
    m_note->setVisible(false);

    m_plot->installEventFilter(this);
    connect(m_plot, &QCustomPlot::mouseMove, this, [this](QMouseEvent *event) { onMouseMove(event->pos()); });
    connect(m_plot, &QCustomPlot::mouseDoubleClick, this, [this](QMouseEvent *) { fit(); });
    connect(m_plot->yAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this,
            [this](const QCPRange &range) { Q_EMIT scaleChanged(range.lower, range.upper); });
    connect(m_plot, &QCustomPlot::afterReplot, this, [this] { ++m_replots; });

    m_plot->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_plot, &QWidget::customContextMenuRequested, this, &PlotView::showContextMenu);
    const QList<QPair<QString, QString>> exports = {
        {QStringLiteral("PNG"), QStringLiteral("Export Plot as PNG")},
        {QStringLiteral("PDF"), QStringLiteral("Export Plot as PDF")},
        {QStringLiteral("CSV"), QStringLiteral("Export Table as CSV")}};
    for (const auto &entry : exports) {
        auto *action = new QAction(entry.second, this);
        action->setObjectName(QStringLiteral("Export") + entry.first);
        action->setIconText(entry.first);
        const QString format = entry.first;
        connect(action, &QAction::triggered, this, [this, format] { exportTo(format); });
        m_exportActions << action;
    }
}

PlotView::~PlotView() = default;

void PlotView::setCaptions(const QString &xCaption, const QString &yCaption)
{
    m_xCaption = xCaption;
    m_yCaption = yCaption;
    m_plot->xAxis->setLabel(xCaption);
    m_plot->yAxis->setLabel(yCaption);
}

void PlotView::setCsvColumns(const QString &xColumn, const QString &yColumn)
{
    m_xColumn = xColumn;
    m_yColumn = yColumn;
}

void PlotView::setExportFacts(const QString &title, const QStringList &comments)
{
    m_exportTitle = title;
    m_exportComments = comments;
}

QByteArray PlotView::csvText() const
{
    return plotTableCsv(m_table, m_xColumn.isEmpty() ? m_xCaption : m_xColumn,
                        m_yColumn.isEmpty() ? m_yCaption : m_yColumn,
                        m_csvComments ? m_exportComments : QStringList());
}

void PlotView::setIntegerTicks(bool xAxis, bool yAxis)
{
    const auto ticker = [](bool integer) -> QSharedPointer<QCPAxisTicker> {
        if (integer)
            return QSharedPointer<IntegerAxisTicker>::create();
        return QSharedPointer<QCPAxisTicker>::create();
    };
    m_plot->xAxis->setTicker(ticker(xAxis));
    m_plot->yAxis->setTicker(ticker(yAxis));
}

QStringList PlotView::tickLabels(Qt::Orientation axis) const
{
    const QVector<QString> labels =
        (axis == Qt::Horizontal ? m_plot->xAxis : m_plot->yAxis)->tickVectorLabels();
    return QStringList(labels.begin(), labels.end());
}

void PlotView::setLogLog(bool logLog)
{
    for (QCPAxis *axis : {m_plot->xAxis, m_plot->yAxis}) {
        axis->setScaleType(logLog ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
        if (logLog)
            axis->setTicker(QSharedPointer<LogAxisTicker>::create());
        else
            axis->setTicker(QSharedPointer<QCPAxisTicker>::create());
    }
    replot();
}

void PlotView::setNote(const QString &text)
{
    m_note->setText(text);
    m_note->setVisible(!text.isEmpty());
    replot();
}

QString PlotView::note() const
{
    return m_note->visible() ? m_note->text() : QString();
}

void PlotView::clear()
{
    m_table = PlotTable();
    m_graph->data()->clear();
    m_crossX->setVisible(false);
    m_crossY->setVisible(false);
    replot();
}

void PlotView::load(const PlotTable &table, int count)
{
    m_table = table;
    const int rows = qBound(0, count, table.rows());
    m_graph->setData(table.x.mid(0, rows), table.y.mid(0, rows), true);
    m_crossX->setVisible(false);
    m_crossY->setVisible(false);
    fit();
}

double PlotView::xLower() const
{
    return m_plot->xAxis->range().lower;
}

double PlotView::xUpper() const
{
    return m_plot->xAxis->range().upper;
}

double PlotView::yLower() const
{
    return m_plot->yAxis->range().lower;
}

double PlotView::yUpper() const
{
    return m_plot->yAxis->range().upper;
}

void PlotView::setVisibleRange(double xLower, double xUpper, double yLower, double yUpper)
{
    m_plot->xAxis->setRange(xLower, xUpper);
    m_plot->yAxis->setRange(yLower, yUpper);
    replot();
}

void PlotView::fit()
{
    // A flat trace still gets a visible band around it.
    double ymin = m_table.ymin;
    double ymax = m_table.ymax;
    if (!(ymax > ymin)) {
        ymin -= 1;
        ymax += 1;
    }
    double xmax = m_table.xmax > m_table.xmin ? m_table.xmax : m_table.xmin + 1;
    setVisibleRange(m_table.xmin, xmax, ymin, ymax);
}

void PlotView::replot()
{
    placeNote();
    m_plot->replot();
}

void PlotView::placeNote()
{
    if (!m_note->visible())
        return;
    // The note goes where it covers the fewest points of the trace.
    const QCPAxisRect *rect = m_plot->axisRect();
    const QSharedPointer<QCPGraphDataContainer> data = m_graph->data();
    QVector<QPointF> points;
    points.reserve(data->size());
    for (auto it = data->constBegin(); it != data->constEnd(); ++it)
        points << QPointF(m_plot->xAxis->coordToPixel(it->key) - rect->left(),
                          m_plot->yAxis->coordToPixel(it->value) - rect->top());
    const QMargins padding = m_note->padding();
    const QSize text = QFontMetrics(m_note->font()).boundingRect(QRect(), 0, m_note->text()).size();
    const QSizeF box(text.width() + padding.left() + padding.right() + 0.01 * rect->width(),
                     text.height() + padding.top() + padding.bottom() + 0.02 * rect->height());
    const NoteCorner::Corner corner = NoteCorner::emptiest(points, rect->rect().size(), box);
    const bool left = corner == NoteCorner::TopLeft || corner == NoteCorner::BottomLeft;
    const bool bottom = corner == NoteCorner::BottomRight || corner == NoteCorner::BottomLeft;
    m_note->setPositionAlignment((left ? Qt::AlignLeft : Qt::AlignRight) |
                                 (bottom ? Qt::AlignBottom : Qt::AlignTop));
    m_note->position->setCoords(left ? 0.01 : 0.99, bottom ? 0.98 : 0.02);
}

void PlotView::moveCursor(double x)
{
    const int row = PlotReadout::nearestRow(m_table, x);
    if (row < 0)
        return;
    const double px = m_table.x.at(row);
    const double py = m_table.y.at(row);
    m_crossX->point1->setCoords(px, 0);
    m_crossX->point2->setCoords(px, 1);
    m_crossY->point1->setCoords(0, py);
    m_crossY->point2->setCoords(1, py);
    m_crossX->setVisible(true);
    m_crossY->setVisible(true);
    m_plot->layer(CursorLayer)->replot();
    Q_EMIT cursorMoved(px);
}

void PlotView::onMouseMove(const QPoint &position)
{
    if (m_table.rows() == 0 || !m_plot->axisRect()->rect().contains(position))
        return;
    moveCursor(m_plot->xAxis->pixelToCoord(position.x()));
}

bool PlotView::eventFilter(QObject *watched, QEvent *event)
{
    // Ctrl+drag draws a zoom box; a plain drag pans.
    if (watched == m_plot && event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        m_plot->setSelectionRectMode(mouse->modifiers() & Qt::ControlModifier ? QCP::srmZoom : QCP::srmNone);
    }
    return QWidget::eventFilter(watched, event);
}

QSize PlotView::exportSize(int width, int height) const
{
    if (width <= 0 && m_plot->width() < 100)
        return QSize(ExportWidth, ExportHeight);
    return QSize(qMax(0, width), qMax(0, height));
}

void PlotView::prepareExport(bool exporting)
{
    if (exporting) {
        m_crossVisible = m_crossX->visible();
        m_crossX->setVisible(false);
        m_crossY->setVisible(false);
        if (!m_exportTitle.isEmpty()) {
            m_plot->plotLayout()->insertRow(0);
            m_title = new QCPTextElement(m_plot, m_exportTitle, QFont(font().family(), 10, QFont::Bold));
            m_plot->plotLayout()->addElement(0, 0, m_title);
        }
    } else {
        m_crossX->setVisible(m_crossVisible);
        m_crossY->setVisible(m_crossVisible);
        if (m_title) {
            m_plot->plotLayout()->remove(m_title);
            m_plot->plotLayout()->simplify();
            m_title = nullptr;
            if (isVisible())
                m_plot->replot();
        }
    }
}

DataFileError PlotView::savePng(const QString &path, int width, int height)
{
    const QSize size = exportSize(width, height);
    prepareExport(true);
    const DataFileError error = PlotExport::savePng(*m_plot, path, size.width(), size.height());
    prepareExport(false);
    return error;
}

DataFileError PlotView::savePdf(const QString &path, int width, int height)
{
    const QSize size = exportSize(width, height);
    prepareExport(true);
    const DataFileError error = PlotExport::savePdf(*m_plot, path, size.width(), size.height());
    prepareExport(false);
    return error;
}

QImage PlotView::exportImage(int width, int height)
{
    prepareExport(true);
    const QImage image = PlotExport::image(*m_plot, width, height);
    prepareExport(false);
    return image;
}

QPicture PlotView::exportPicture(int width, int height)
{
    prepareExport(true);
    const QPicture picture = PlotExport::picture(*m_plot, width, height);
    prepareExport(false);
    return picture;
}

DataFileError PlotView::saveCsv(const QString &path)
{
    return WriteWholeFile(path, csvText());
}

void PlotView::exportTo(const QString &format)
{
    UserDialogs::FileFilter filter;
    QString title;
    if (format == QLatin1String("PNG")) {
        filter.filters = {QStringLiteral("PNG Images (*.png)")};
        title = QStringLiteral("Export Plot as PNG");
    } else if (format == QLatin1String("PDF")) {
        filter.filters = {QStringLiteral("PDF Documents (*.pdf)")};
        title = QStringLiteral("Export Plot as PDF");
    } else {
        filter.filters = {QStringLiteral("CSV Files (*.csv)")};
        title = QStringLiteral("Export Table as CSV");
    }
    const std::optional<QString> path = m_dialogs.saveFile(title, filter, format.toLower());
    if (!path)
        return;
    DataFileError error;
    if (format == QLatin1String("PNG"))
        error = savePng(*path);
    else if (format == QLatin1String("PDF"))
        error = savePdf(*path);
    else
        error = saveCsv(*path);
    if (error.isError())
        m_dialogs.message(QStringLiteral("Cannot write %1: %2").arg(*path, error.message()),
                          UserDialogs::Icon::Warning, title);
}

void PlotView::showContextMenu(const QPoint &position)
{
    QMenu menu(this);
    menu.addActions(m_exportActions);
    menu.exec(m_plot->mapToGlobal(position));
}
