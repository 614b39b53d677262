// The qm416x module: data files and their figures for Python test benches.
// Python's headers come before Qt's: Qt's "slots" macro breaks them.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "PyCapture.h"
#include "PyErrors.h"
#include "PyQString.h"

#include <QCoreApplication>

#include <optional>

namespace py = pybind11;

namespace {

// The core's objects want an application object; a script has none, so the module makes
// one when it is imported (and keeps any the embedding program already has).
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "qm416x";
    static char *argv[] = {name, nullptr};
    new QCoreApplication(argc, argv); // lives as long as the process
}

int variantCode(int variant)
{
    // 62, 64, 68, 69 as on the command line; the model's codes 2, 4, 8, 9 as well.
    const int code = variant > 10 ? variant - 60 : variant;
    if (code != 2 && code != 4 && code != 8 && code != 9)
        throw py::value_error(
            QStringLiteral("variant must be 62, 64, 68 or 69, not %1").arg(variant).toStdString());
    return code;
}

} // namespace

PYBIND11_MODULE(qm416x, m)
{
    m.doc() = "The QM416x evaluation software's core for Python: data files, acquisitions and their figures.";
    ensureApplication();
    PyErrors::registerTypes(&m);

    py::class_<PyCapture>(m, "Capture", "The codes of one acquisition or data file and its conditions.")
        .def_property_readonly("variant", [](const PyCapture &c) { return 60 + c.variant(); })
        .def_property_readonly("channels", &PyCapture::channels, "The channels that hold data.")
        .def("codes", &PyCapture::codes, py::arg("channel"), "The channel's codes (int32).")
        .def("volts", &PyCapture::volts, py::arg("channel"), "The channel's samples in volts (float64).")
        .def("statistics", &PyCapture::statistics, py::arg("channel"),
             "The noise figures in SI units and, under 'texts', the data window's texts.")
        .def("spectrum", &PyCapture::spectrum, py::arg("channel"), py::arg("window") = "Hanning",
             py::arg("full_scale") = false, "(frequencies in Hz, levels in dB or dBFS)")
        .def("metrics", &PyCapture::metrics, py::arg("channel"), py::arg("window") = "Hanning",
             "SNR, THD, SINAD, SFDR and ENOB of a sine at the input.")
        .def("histogram", &PyCapture::histogram, py::arg("channel"), "(codes, occurrences), ascending codes.")
        .def("save", &PyCapture::save, py::arg("path"), "Writes a data file the program reads.");

    m.def(
        "read_data_file",
        [](const QString &path, std::optional<int> variant) {
            return PyCapture::read(path, variant ? variantCode(*variant) : 0);
        },
        py::arg("path"), py::arg("variant") = py::none(),
        "Reads a data file; without variant, the file's ranges tell it.");
}
