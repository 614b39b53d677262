#pragma once

#include "data/DataFileError.h"

#include "PlotTable.h"

#include <QWidget>

class QAction;
class QCustomPlot;
class QCPGraph;
class QCPItemText;
class QCPTextElement;
class QImage;
class QPicture;
class QCPItemStraightLine;
class UserDialogs;

// The plot of the three plot windows: one trace drawn from a plot table, with
//  - the mouse: wheel zooms about the pointer, dragging pans, Ctrl+drag zooms to a box,
//    a double-click fits the plot to the ranges it was loaded with;
//  - a crosshair cursor that sits on the trace point nearest to the pointer and reports
//    its x (cursorMoved);
//  - export of the plot to PNG and PDF and of the table to CSV, from its context menu and
//    from exportActions() (for the window's toolbar); files are chosen through UserDialogs.
//    An exported plot carries the export title above it and never the crosshair; an
//    exported table starts with the export comments (unless switched off).
class PlotView : public QWidget
{
    Q_OBJECT

public:
    explicit PlotView(UserDialogs &dialogs, QWidget *parent = nullptr);
    ~PlotView() override;

    void setCaptions(const QString &xCaption, const QString &yCaption);
    // The column names of the exported table; the captions until set.
    void setCsvColumns(const QString &xColumn, const QString &yColumn);
    // What the plot is about (PlotFacts): the title drawn above an exported plot and the
    // comment lines that open an exported table. Kept by clear and load.
    void setExportFacts(const QString &title, const QStringList &comments);
    QString exportTitle() const { return m_exportTitle; }
    // Whether exported tables carry the comment lines (on by default), for tools that
    // cannot skip them.
    void setCsvComments(bool on) { m_csvComments = on; }
    QByteArray csvText() const;
    // Both axes logarithmic (the Allan deviation) with decade ticks, or linear, the default.
    void setLogLog(bool logLog);
    // Whole-number ticks on the axes of codes, sample numbers and counts.
    void setIntegerTicks(bool xAxis, bool yAxis);
    // A text in the plot's top right corner (the spectrum's figures), exported with the
    // plot; empty hides it. Kept by clear and load.
    void setNote(const QString &text);
    QString note() const;
    // Empties the plot (the table too) and redraws.
    void clear();
    // Loads the first `count` rows of the table (all rows when count is larger), sets the x
    // and y ranges of the axes to the table's and redraws.
    void load(const PlotTable &table, int count);
    const PlotTable &table() const { return m_table; }

    // The visible ranges.
    double xLower() const;
    double xUpper() const;
    double yLower() const;
    double yUpper() const;
    void setVisibleRange(double xLower, double xUpper, double yLower, double yUpper);
    // Back to the ranges the table was loaded with.
    void fit();
    // Puts the cursor at the point nearest to x (as the mouse does) and reports it.
    void moveCursor(double x);

    // Exports, each written whole or not at all (PlotExport, WriteWholeFile).
    DataFileError savePng(const QString &path, int width = 0, int height = 0);
    DataFileError savePdf(const QString &path, int width = 0, int height = 0);
    DataFileError saveCsv(const QString &path);
    // The plot as an export draws it, as pixels and as vector drawing commands.
    QImage exportImage(int width, int height);
    QPicture exportPicture(int width, int height);
    // The labels of the ticks on the x and y axes as last drawn.
    QStringList tickLabels(Qt::Orientation axis) const;
    QList<QAction *> exportActions() const { return m_exportActions; }

    // Number of full redraws so far (for tests and the benchmark).
    int replotCount() const { return m_replots; }
    void replot();

Q_SIGNALS:
    // The cursor moved to the trace point at x.
    void cursorMoved(double x);
    // The visible y range changed (zoom, pan, fit, load).
    void scaleChanged(double yLower, double yUpper);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Moves the note to the corner where it hides the fewest points of the trace.
    void placeNote();
    void onMouseMove(const QPoint &position);
    void exportTo(const QString &format);
    void showContextMenu(const QPoint &position);
    // Puts the export title above the plot and hides the crosshair, or takes both back.
    void prepareExport(bool exporting);
    QSize exportSize(int width, int height) const;

    UserDialogs &m_dialogs;
    QCustomPlot *m_plot;
    QCPGraph *m_graph;
    QCPItemStraightLine *m_crossX;
    QCPItemStraightLine *m_crossY;
    QCPItemText *m_note;
    PlotTable m_table;
    QString m_xCaption;
    QString m_yCaption;
    QString m_xColumn;
    QString m_yColumn;
    QString m_exportTitle;
    QStringList m_exportComments;
    bool m_csvComments = true;
    bool m_crossVisible = false;
    QCPTextElement *m_title = nullptr;
    QList<QAction *> m_exportActions;
    int m_replots = 0;
};
