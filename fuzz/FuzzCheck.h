#pragma once

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: a property that must hold for every input, and the
// application object the Qt code needs.
//
// FUZZ_CHECK(condition): on failure names the condition and aborts, so that libFuzzer keeps
// the input as a finding and the corpus run fails.
#define FUZZ_CHECK(condition) ((condition) ? void(0) : fuzzFailure(#condition, __FILE__, __LINE__))

[[noreturn]] inline void fuzzFailure(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

// Creates the one QCoreApplication of the process (timers and queued calls need it).
inline void fuzzApplication()
{
    static int argc = 1;
    static char name[] = "qm416x-fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = nullptr;
    if (!app)
        app = new QCoreApplication(argc, argv);
}
