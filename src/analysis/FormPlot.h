#pragma once

#include "PlotTexts.h"
#include "RedrawThrottle.h"

#include <QList>
#include <QWidget>

class ClassData;
class PlotView;
class QButtonGroup;
class QComboBox;
class QLabel;
class QM4168;
class QRadioButton;
class QToolBar;
class UserDialogs;

// What the time plot, the histogram and the spectrum windows share: the plot, eight
// channel buttons that follow the store's current channel, the window-function list (shown
// by the spectrum only), a title, the cursor read-outs and, beside the plot, the labels of
// the visible y range. The kind of plot decides the table (buildPlot) and the texts. Redraws caused by store
// events are throttled (RedrawThrottle).
class FormPlot : public QWidget
{
    Q_OBJECT

public:
    FormPlot(PlotKind kind, ClassData &data, const QM4168 &adc, UserDialogs &dialogs,
             QWidget *parent = nullptr);

    PlotKind kind() const { return m_kind; }

    // Shows the store's current channel, redrawing it even when its button is selected.
    void display();

    // Store events.
    void IData_DataChanged(int channel);
    void IData_ChannelChanged(int channel);
    void IData_DataCleared();

    // The cursor moved to x (the plot reports the x of the trace point under the pointer).
    void showCursor(double x);

    QList<QRadioButton *> ButtonChannel;
    QComboBox *ComboWindow;
    QComboBox *ComboScale; // spectrum only: dB to the strongest bin, or dBFS
    QLabel *LabelTitle;
    QLabel *LabelCursor;
    QLabel *LabelCursorValue;
    QLabel *LabelValue;
    QLabel *LabelValueValue;
    QLabel *LabelSamples;
    QLabel *LabelMetrics; // the spectrum's figures of merit (spectrum only)
    QLabel *LabelYMax;
    QLabel *LabelYMin;
    QToolBar *ToolPlot;
    PlotView *Plot;

Q_SIGNALS:
    // The window hid itself (the store was cleared): the main window refreshes its marks.
    void hiddenByData();

protected:
    void hideEvent(QHideEvent *event) override;

    ClassData &IData;
    UserDialogs &m_dialogs;

private:
    void onChannelClicked(int channel);
    void onWindowChosen();
    void redraw();
    void clearPlot();
    void selectButton(int channel);
    void showScale(double yLower, double yUpper);

    const QM4168 &m_adc;
    PlotKind m_kind;
    QButtonGroup *m_group;
    RedrawThrottle m_throttle;
};
