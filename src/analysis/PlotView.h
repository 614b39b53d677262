#pragma once

#include "data/DataFileError.h"

#include "PlotTable.h"

#include <QWidget>

class QAction;
class QCustomPlot;
class QCPGraph;
class QCPItemText;
class QCPItemStraightLine;
class UserDialogs;

// The plot of the three plot windows: one trace drawn from a plot table, with
//  - the mouse: wheel zooms about the pointer, dragging pans, Ctrl+drag zooms to a box,
//    a double-click fits the plot to the ranges it was loaded with;
//  - a crosshair cursor that sits on the trace point nearest to the pointer and reports
//    its x (cursorMoved);
//  - export of the plot to PNG and PDF and of the table to CSV, from its context menu and
//    from exportActions() (for the window's toolbar); files are chosen through UserDialogs.
class PlotView : public QWidget
{
    Q_OBJECT

public:
    explicit PlotView(UserDialogs &dialogs, QWidget *parent = nullptr);
    ~PlotView() override;

    void setCaptions(const QString &xCaption, const QString &yCaption);
    // Both axes logarithmic (the Allan deviation) or linear, the default.
    void setLogLog(bool logLog);
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
    void onMouseMove(const QPoint &position);
    void exportTo(const QString &format);
    void showContextMenu(const QPoint &position);

    UserDialogs &m_dialogs;
    QCustomPlot *m_plot;
    QCPGraph *m_graph;
    QCPItemStraightLine *m_crossX;
    QCPItemStraightLine *m_crossY;
    QCPItemText *m_note;
    PlotTable m_table;
    QString m_xCaption;
    QString m_yCaption;
    QList<QAction *> m_exportActions;
    int m_replots = 0;
};
