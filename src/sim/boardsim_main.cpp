// qm416x-boardsim: the simulated evaluation board on a pseudo-terminal. Prints the device
// path on the first line of standard output and serves it until it is killed.

#include "PtyBoardServer.h"
#include "SimBoard.h"
#include "SimOptions.h"

#include <QCoreApplication>

#include <cstdio>

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
    options.applyTo(board.converter());

    PtyBoardServer server(board);
    QString error;
    if (!server.start(error)) {
        std::fprintf(stderr, "qm416x-boardsim: cannot open a pseudo-terminal: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(server.path()));
    std::fflush(stdout);
    return app.exec();
}
