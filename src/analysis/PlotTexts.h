#pragma once

#include <QString>

// The three plots of a channel and the fixed texts each one is shown with.
enum class PlotKind
{
    Time,
    Histogram,
    Spectrum
};

struct PlotTexts
{
    QString formName;    // "FormGraph1", "FormHist", "FormFFT"
    QString title;       // window title and title label
    QString cursorLabel; // caption of the cursor position read-out
    QString valueLabel;  // caption of the value read-out
    QString yCaption;
    QString xCaption;
    bool windowList = false; // whether the window-function list is shown
    // Column names of the table exported as CSV, by the window and the command line alike.
    QString xColumn;
    QString yColumn;
};

PlotTexts plotTexts(PlotKind kind);
