#pragma once

#include "FormPlot.h"

// The spectrum ("FFT") of a channel, in dB relative to its strongest bin, with the
// window function chosen in the list.
class FormFFT : public FormPlot
{
    Q_OBJECT

public:
    FormFFT(ClassData &data, const QM4168 &adc, UserDialogs &dialogs, QWidget *parent = nullptr)
        : FormPlot(PlotKind::Spectrum, data, adc, dialogs, parent)
    {
    }

    void DisplayFFT() { display(); }
};
