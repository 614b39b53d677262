#pragma once

#include "HistoryEntry.h"
#include "data/StatisticsFigures.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVector>

#include <vector>

class ClassData;
class QM4168;

// One channel of a recorded capture: its conditions, its noise figures as the data window
// computed them, and its samples as the board delivered them (raw words and status bytes).
struct HistoryChannel
{
    int channel = 0;
    int rangeCode = 0;
    double channelTimeUs = 0;
    std::vector<qint32> words;
    QByteArray statuses; // one byte per word
    StatisticsFigures figures;
};

// A completed acquisition as the history keeps it: when, on which variant, the whole
// register image of the model (every cache cell), the store's conditions and every valid
// channel. A logger run records its failed attempts as captures with a failure text and no
// channels.
struct HistoryCapture
{
    qint64 id = 0; // given by the database
    QDateTime recordedAt;
    qint64 runId = 0;
    int variant = 0;
    QVector<qint32> registers; // QM4168::CacheCells cells, by cache cell
    int dataWidth = 0;
    bool clamp = false;
    double refVoltage = 0;
    QString note;
    QString failure;
    QList<HistoryChannel> channels;

    bool completed() const { return failure.isEmpty(); }
    // The line of the history list this capture makes.
    HistoryEntry entry() const;

    // The valid channels of a processed store (those the data file would hold) and the
    // model's variant and register image, stamped with the current time.
    static HistoryCapture fromStore(const ClassData &store, const QM4168 &model, const QString &note = {});

    // Fills the store as opening a data file does: a fresh store is filled and put in place
    // (DataCleared), then Process and Update (DataChanged).
    void fillStore(ClassData &store) const;
    // Prepares the model as start-up does for the capture's variant (register design, then
    // power-on image) and writes the recorded register image over it, with send false.
    void fillModel(QM4168 &model) const;
};
