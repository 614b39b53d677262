#pragma once

#include "FormPlot.h"

// The time plot ("Graph"): the codes of a channel against their sample index.
class FormGraph1 : public FormPlot
{
    Q_OBJECT

public:
    FormGraph1(ClassData &data, const QM4168 &adc, UserDialogs &dialogs, QWidget *parent = nullptr)
        : FormPlot(PlotKind::Time, data, adc, dialogs, parent)
    {
    }

    void DisplayGraph() { display(); }
};
