#pragma once

#include "ContReadResult.h"
#include "data/NoiseRow.h"

#include <QList>
#include <QObject>
#include <QString>

class BoardLink;
class QM4168;

// What a noise sweep runs through: one channel, filter words (or, when conversion times are
// given, the filter word nearest below each time for the chop setting), chop settings and
// range codes, and how many samples each acquisition takes.
struct NoiseSweepSettings
{
    int channel = 0;
    QList<int> filterWords = {3, 8, 17, 40, 80, 127};
    QList<double> conversionTimesUs; // used instead of filterWords when not empty
    QList<bool> chops = {true};
    QList<int> ranges = {0};
    int samples = 1000; // limited to what the board's memory holds
};

// The noise table of a channel: for each range code, chop setting and filter word (in that
// nesting), the settings are made as the setup window makes them (through the model, each
// change written to the chip), the converter settles for at least one conversion cycle,
// samples are acquired by continuous read (24-bit data, only the swept channel enabled) and
// the noise figures of the data window become one row.
//
// Every set-up write of a row must be answered and read back as written. Cancel, a set-up
// the chip did not take, a refused or failed acquisition and a lost board end the sweep
// after the rows completed so far; stopMessage() then says which row stopped and why.
// However it ends, the registers the sweep touches (every channel's setup and conversion
// time, the mode) are first read from the chip and afterwards put back; a restore that
// fails is part of stopMessage() and makes run() false.
class NoiseSweep : public QObject
{
    Q_OBJECT

public:
    NoiseSweep(QM4168 &model, BoardLink &link, QObject *parent = nullptr);

    // The rows the settings ask for, each with its filter word, chop and range set, in order.
    static QList<NoiseRow> plan(const NoiseSweepSettings &settings, const QM4168 &model);

    // Runs the whole sweep; true when every row completed.
    bool run(const NoiseSweepSettings &settings);
    // Ends the sweep after the current step; an acquisition in progress is escaped.
    void cancel();

    QList<NoiseRow> rows() const { return m_rows; }
    QString stopMessage() const { return m_stopMessage; }
    // "fw 17, chop on, ±1.25 V"
    static QString rowName(const NoiseRow &row);

Q_SIGNALS:
    void rowAdded(const NoiseRow &row);
    // Rows done of the total, and the one being acquired.
    void progress(int done, int total, const QString &current);

private:
    bool runRows(const NoiseSweepSettings &settings);
    QList<int> touchedRegisters() const;
    void applySettings(int channel, const NoiseRow &row);
    void settle(int channel);

    QM4168 &m_model;
    BoardLink &m_link;
    QList<NoiseRow> m_rows;
    QString m_stopMessage;
    bool m_cancelled = false;
};
