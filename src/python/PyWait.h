#pragma once

#include <functional>

// Runs work that waits for the board with the GIL released, so that other Python threads
// run meanwhile; the link's event loop runs inside work. While it waits, Ctrl+C is looked
// for every 50 ms: the first calls cancel (which must make work end soon), and once work
// has returned the KeyboardInterrupt is raised.
namespace PyWait {
void run(const std::function<void()> &work, const std::function<void()> &cancel = {});
}
