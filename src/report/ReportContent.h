#pragma once

#include "data/StatisticsCell.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class ClassData;
class QM4168;

// The plots a report draws for a channel.
enum class ReportPlotKind
{
    Time,
    Histogram,
    Spectrum,
    Allan
};

struct ReportFigure
{
    int channel = 0;
    ReportPlotKind kind = ReportPlotKind::Time;
    QString caption;   // "Graph", "Histogram", "FFT (Hanning window)", "Allan deviation"
    QStringList notes; // texts shown below the plot: the spectrum's figures, the Allan minimum
};

struct ReportChannel
{
    int channel = 0;
    QList<StatisticsCell> figures; // the data window's noise figures
    QList<ReportFigure> plots;
};

// Everything a report says, in the order it says it, with the texts of the windows: the
// noise figures as the data window shows them (ShowStatistics), the set-up in the setup
// window's words (SetupWords), the spectrum's figures as the spectrum window shows them.
struct ReportContent
{
    QString title;     // "QM4168 measurement report"
    QStringList about; // date, variant, program version, data file
    QStringList setup;
    QList<QStringList> registers; // heading rows first; empty without a register set-up
    QList<ReportChannel> channels;
    QStringList definitions; // of the spectrum's figures
};

// The report of the channels (every valid one when empty) of data, whose ranges come from
// adc. setup is the converter's set-up (the program's model, or a settings file read into
// a model); without one the set-up is that of the data file alone. window is the spectrum's
// selector; source names the data (a file name, or empty). Channels that are not valid
// are left out.
ReportContent buildReport(const ClassData &data, const QM4168 &adc, const QM4168 *setup,
                          const QList<int> &channels, int window, const QDateTime &when,
                          const QString &source);
