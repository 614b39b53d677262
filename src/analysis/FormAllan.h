#pragma once

#include <QWidget>

class ClassData;
class PlotView;
class QComboBox;
class QLabel;
class QM4168;
class UserDialogs;

// "Allan Deviation": the overlapping Allan deviation of a channel of the store in volts
// against the averaging time, on log-log axes, the minimum (the best averaging time and its
// noise) marked by the cursor and printed below the plot and in its corner. The channel
// list follows the store's current channel; the plot follows new data while shown.
class FormAllan : public QWidget
{
    Q_OBJECT

public:
    FormAllan(ClassData &data, const QM4168 &adc, UserDialogs &dialogs, QWidget *parent = nullptr);

    // Redraws the chosen channel.
    void redraw();

    QComboBox *ComboChannel;
    QLabel *LabelMinimum;
    PlotView *Plot;

protected:
    void showEvent(QShowEvent *event) override;

private:
    ClassData &IData;
    const QM4168 &IADC;
};
