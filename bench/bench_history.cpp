// The measurement history on disk: recording the largest capture the board's memory holds
// for eight 16-bit channels at 1024 samples each (one transaction, write-ahead log, synced),
// and listing a database of 10,000 captures of one channel.

#include "data/ClassData.h"
#include "history/HistoryDatabase.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

// A capture of `channels` channels of `samples` noisy 24-bit words around mid-scale.
HistoryCapture capture(int channels, int samples)
{
    QM4168 model;
    model.setEvBoard(8);
    RegisterDesign::applyTo(model);
    LoadRegisterDefaults(model, 8);
    ClassData store;
    store.setDataWidth(3);
    store.setRefVoltage(2.5);
    std::mt19937 random(416);
    std::normal_distribution<double> noise(0.0, 12.0);
    for (int c = 0; c < channels; ++c) {
        store.setChannelTime(c, 1000);
        for (int i = 0; i < samples; ++i)
            store.AddData(c, 8388608 + static_cast<qint32>(noise(random)), static_cast<quint8>(c << 5));
    }
    store.Process();
    return HistoryCapture::fromStore(store, model, QStringLiteral("bench"));
}

void BM_RecordCapture(benchmark::State &state)
{
    QTemporaryDir dir;
    HistoryDatabase db;
    if (!db.open(dir.filePath(QStringLiteral("h.sqlite"))))
        state.SkipWithError(qPrintable(db.error()));
    const HistoryCapture c = capture(8, 1024);
    for (auto _ : state)
        if (db.record(c) == 0)
            state.SkipWithError(qPrintable(db.error()));
    state.counters["file_kB_per_capture"] =
        static_cast<double>(QFileInfo(db.path()).size() +
                            QFileInfo(db.path() + QStringLiteral("-wal")).size()) /
        1024.0 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_RecordCapture)->Unit(benchmark::kMillisecond);

void BM_List10000(benchmark::State &state)
{
    QTemporaryDir dir;
    HistoryDatabase db;
    if (!db.open(dir.filePath(QStringLiteral("h.sqlite"))))
        state.SkipWithError(qPrintable(db.error()));
    // A day of one capture a minute is 1440; this is a week of them.
    const HistoryCapture c = capture(1, 1000);
    for (int i = 0; i < 10000; ++i)
        db.record(c);
    for (auto _ : state) {
        const std::optional<QList<HistoryEntry>> entries = db.list();
        if (!entries || entries->size() != 10000)
            state.SkipWithError("the list is not complete");
        benchmark::DoNotOptimize(entries);
    }
}
BENCHMARK(BM_List10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
