// Python's headers come before Qt's: Qt's "slots" macro breaks them.
#include <pybind11/pybind11.h>

#include "PyWait.h"

#include <QTimer>

namespace py = pybind11;

void PyWait::run(const std::function<void()> &work, const std::function<void()> &cancel)
{
    bool interrupted = false;
    QTimer watch;
    watch.setInterval(50);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (interrupted)
            return;
        py::gil_scoped_acquire gil;
        if (PyErr_CheckSignals() != 0) {
            interrupted = true;
            if (cancel)
                cancel();
        }
    });
    watch.start();
    {
        py::gil_scoped_release released;
        work();
    }
    watch.stop();
    if (interrupted) {
        if (!PyErr_Occurred())
            PyErr_SetNone(PyExc_KeyboardInterrupt);
        throw py::error_already_set();
    }
}
