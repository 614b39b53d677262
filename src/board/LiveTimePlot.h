#pragma once

#include "analysis/RedrawThrottle.h"

#include <QMap>
#include <QWidget>

class LiveCapture;
class QCustomPlot;
class QCPGraph;

// The time plot of every channel of the running continuous read, one above the other,
// growing from the left as the records arrive: x runs over the samples per channel the
// acquisition asked for, y over the codes seen so far. Redrawn at most 25 times a second
// (RedrawThrottle) and once more when the acquisition ends.
class LiveTimePlot : public QWidget
{
    Q_OBJECT

public:
    explicit LiveTimePlot(LiveCapture &capture, QWidget *parent = nullptr);
    ~LiveTimePlot() override;

    // The points the trace of channel holds (0 for a channel not shown).
    int points(int channel) const;
    int redraws() const { return m_redraws; }

private:
    void arrange();
    void redraw();

    LiveCapture &m_capture;
    QCustomPlot *m_plot;
    QMap<int, QCPGraph *> m_graphs;
    RedrawThrottle m_throttle;
    int m_redraws = 0;
};
