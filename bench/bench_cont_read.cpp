// The largest continuous read, 8 channels x 1024 samples of 24-bit data (32768 bytes),
// through the system serial port code against qm416x-boardsim at the real line rate. The
// figure that matters is the wall time divided by the wire time of every byte that crossed
// the line (request, answer, records, closing bytes, the closing exchange) at 38400 baud:
// how much the program adds to what the line itself takes.

#include "board/BoardLink.h"
#include "data/ClassData.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"
#include "platform/SystemSerialPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <benchmark/benchmark.h>

namespace {

struct Rig
{
    QProcess sim;
    QM4168 model;
    BoardLink link{model, nullptr, [](const QString &) { return std::make_unique<SystemSerialPort>(); }};
    qint64 lineBytes = 0; // bytes on the line that the monitor sees (frames, answer, replies)

    bool start()
    {
        sim.start(QStringLiteral(QM_BOARDSIM), {}); // paced: 3840 bytes a second
        if (!sim.waitForStarted(5000))
            return false;
        while (!sim.canReadLine())
            if (!sim.waitForReadyRead(5000))
                return false;
        model.setEvBoard(8);
        RegisterDesign::applyTo(model);
        LoadRegisterDefaults(model, 8);
        if (!link.ComOpen(QString::fromLocal8Bit(sim.readLine()).trimmed()))
            return false;
        // Eight channels of 24-bit data, written to the chip as the setup window writes them.
        link.setUpdateState(RegisterSync::UpdContRead);
        for (int ch = 0; ch < 8; ++ch)
            model.setEnable(ch, true);
        model.setDataWidth(3);
        QObject::connect(&link.hooks(), &BoardHooks::Display,
                         [this](const QString &text) { lineBytes += text.size(); });
        return true;
    }

    ~Rig()
    {
        link.ComClose();
        sim.kill();
        sim.waitForFinished(5000);
    }
};

void BM_LargestContinuousRead(benchmark::State &state)
{
    Rig rig;
    if (!rig.start()) {
        state.SkipWithError("qm416x-boardsim did not start");
        return;
    }
    ClassData store;
    double wall = 0.0;
    double wire = 0.0;
    for (auto _ : state) {
        QM4168 &model = rig.model;
        model.setRegister(0x38, false, (model.Register(0x38) & 0x1B) | 0x24);
        rig.lineBytes = 0;
        QElapsedTimer clock;
        clock.start();
        const ContReadResult result = rig.link.BrdContRead(1024, store);
        const double seconds = clock.nsecsElapsed() * 1e-9;
        state.SetIterationTime(seconds);
        if (!result.completed() || result.announced != 32768) {
            state.SkipWithError("the acquisition did not complete");
            return;
        }
        // The records and closing bytes are not shown in the monitor.
        const qint64 bytes = rig.lineBytes + result.announced + ContinuousRead::ClosingBytes;
        wall += seconds;
        wire += bytes / double(ContinuousRead::LineBytesPerSecond);
    }
    state.counters["wall_over_wire"] = wall / wire;
    state.counters["wire_s"] = wire / state.iterations();
}

BENCHMARK(BM_LargestContinuousRead)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
