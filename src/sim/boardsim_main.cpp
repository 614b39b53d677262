// qm416x-boardsim: the simulated evaluation board on a pseudo-terminal. Prints the device
// path on the first line of standard output and serves it until it is killed. SIGUSR1
// presses the board's reset button: the board announces the reset on the line.

#include "PtyBoardServer.h"
#include "SimBoard.h"
#include "SimOptions.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {
int resetPipe[2] = {-1, -1};

void onResetSignal(int)
{
    const char byte = 'R';
    [[maybe_unused]] const ssize_t n = ::write(resetPipe[1], &byte, 1);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const SimOptions options = SimOptions::parse(app.arguments().mid(1));
    if (options.showHelp) {
        std::fputs(qPrintable(SimOptions::helpText()), stdout);
        return 0;
    }
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "qm416x-boardsim: %s\n\n%s", qPrintable(options.error),
                     qPrintable(SimOptions::helpText()));
        return 2;
    }

    SimBoard board(options.variant, options.seed);
    board.setPacing(options.pacing);
    board.setFaults(options.faults);
    options.applyTo(board.converter());

    PtyBoardServer server(board);
    QString error;
    if (!server.start(error)) {
        std::fprintf(stderr, "qm416x-boardsim: cannot open a pseudo-terminal: %s\n", qPrintable(error));
        return 1;
    }
    // The reset button: the signal handler only writes to a pipe, the event loop does the rest.
    if (::pipe(resetPipe) != 0) {
        std::perror("qm416x-boardsim: pipe");
        return 1;
    }
    QSocketNotifier resetButton(resetPipe[0], QSocketNotifier::Read);
    QObject::connect(&resetButton, &QSocketNotifier::activated, &board, [&board] {
        char byte;
        if (::read(resetPipe[0], &byte, 1) == 1)
            board.pressReset();
    });
    std::signal(SIGUSR1, onResetSignal);

    std::printf("%s\n", qPrintable(server.path()));
    std::fflush(stdout);
    return app.exec();
}
