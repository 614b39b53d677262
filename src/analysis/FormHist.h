#pragma once

#include "FormPlot.h"

// The code histogram ("Histogram"): how often each code occurs in a channel.
class FormHist : public FormPlot
{
    Q_OBJECT

public:
    FormHist(ClassData &data, const QM4168 &adc, UserDialogs &dialogs, QWidget *parent = nullptr)
        : FormPlot(PlotKind::Histogram, data, adc, dialogs, parent)
    {
    }

    void DisplayHist() { display(); }
};
