#pragma once

#include <qcustomplot.h>

// Tickers of the plots' axes (included only by the few files that draw with the plot
// library):
//  - LogAxisTicker: the decades of a logarithmic axis with readable labels (LogTicks);
//  - IntegerAxisTicker: whole steps of at least 1 with integer labels, for axes of codes,
//    sample numbers and counts.
class LogAxisTicker : public QCPAxisTicker
{
protected:
    QVector<double> createTickVector(double tickStep, const QCPRange &range) override;
    QVector<double> createSubTickVector(int subTickCount, const QVector<double> &ticks) override;
    QString getTickLabel(double tick, const QLocale &locale, QChar formatChar, int precision) override;

private:
    QCPRange m_range;
};

class IntegerAxisTicker : public QCPAxisTicker
{
protected:
    double getTickStep(const QCPRange &range) override;
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(double tick, const QLocale &locale, QChar formatChar, int precision) override;
};
