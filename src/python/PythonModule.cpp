// The qm416x module: the evaluation board, data files and their figures for Python test benches.
// Python's headers come before Qt's: Qt's "slots" macro breaks them.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "PyBoard.h"
#include "PyCapture.h"
#include "PyChannel.h"
#include "PyErrors.h"
#include "PyQString.h"
#include "editors/ChannelEdits.h"

#include <QCoreApplication>
#include <QLocale>

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
    new QCoreApplication(argc, argv);  // lives as long as the process
    QLocale::setDefault(QLocale::c()); // "±1.25 V", whatever the user's number format
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

// The sweep's chop settings: True, False, "on", "off" or "both".
QList<bool> chopsOf(const py::object &chop)
{
    if (py::isinstance<py::bool_>(chop))
        return {chop.cast<bool>()};
    const std::string text = py::str(chop);
    if (text == "on")
        return {true};
    if (text == "off")
        return {false};
    if (text == "both")
        return {true, false};
    throw py::value_error("chop must be True, False, 'on', 'off' or 'both', not '" + text + "'");
}

// Range codes, or range texts such as "±1.25 V".
QList<int> rangesOf(PyBoard &board, const py::object &ranges)
{
    QList<int> codes;
    if (ranges.is_none())
        return codes;
    for (const py::handle item : ranges) {
        if (py::isinstance<py::str>(item)) {
            const QString text = item.cast<QString>();
            const int code = ChannelEdits::rangeCodeOfText(board.model(), text);
            if (code < 0)
                throw py::value_error(QStringLiteral("no input range reads '%1'").arg(text).toStdString());
            codes << code;
        } else {
            codes << item.cast<int>();
        }
    }
    return codes;
}

template<typename T>
QList<T> listOf(const std::optional<std::vector<T>> &values)
{
    return values ? QList<T>(values->begin(), values->end()) : QList<T>();
}

// One channel number or an iterable of them.
QList<int> channelsOf(const py::object &channels)
{
    if (py::isinstance<py::int_>(channels))
        return {channels.cast<int>()};
    QList<int> list;
    for (const py::handle item : channels)
        list << item.cast<int>();
    return list;
}

// The rows as a numpy structured array, one field per key of the rows.
py::object rowsArray(const py::list &rows)
{
    static const char *const fields[][2] = {{"filter_word", "i4"},
                                            {"chop", "?"},
                                            {"conversion_time_us", "f8"},
                                            {"data_rate_hz", "f8"},
                                            {"range_code", "i4"},
                                            {"range_v", "f8"},
                                            {"bipolar", "?"},
                                            {"samples", "i4"},
                                            {"rms_noise_uv", "f8"},
                                            {"pp_noise_uv", "f8"},
                                            {"rms_resolution_bits", "f8"},
                                            {"pp_resolution_bits", "f8"},
                                            {"pp_estimated_uv", "f8"},
                                            {"pp_estimated_resolution_bits", "f8"}};
    py::list dtype;
    for (const auto &field : fields)
        dtype.append(py::make_tuple(field[0], field[1]));
    py::list records;
    for (const py::handle row : rows) {
        py::list values;
        for (const auto &field : fields)
            values.append(row[field[0]]);
        records.append(py::tuple(values));
    }
    return py::module_::import("numpy").attr("array")(records, py::arg("dtype") = dtype);
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
        .def("allan", &PyCapture::allan, py::arg("channel"),
             "The overlapping Allan deviation: tau_s, adev_code, adev_v, count (arrays) and the "
             "index of the lowest point.")
        .def("save", &PyCapture::save, py::arg("path"), "Writes a data file the program reads.");

    py::class_<PyChannel>(m, "Channel", "One channel's row of the setup window.")
        .def_property_readonly("number", &PyChannel::number)
        .def_property("enabled", &PyChannel::enabled, &PyChannel::setEnabled)
        .def_property("range", &PyChannel::range, &PyChannel::setRange, "The input range, e.g. '±1.25 V'.")
        .def_property("chop", &PyChannel::chop, &PyChannel::setChop)
        .def_property("filter_word", &PyChannel::filterWord, &PyChannel::setFilterWord)
        .def_property("conversion_time_us", &PyChannel::conversionTimeUs, &PyChannel::setConversionTimeUs);

    py::class_<PyBoard>(m, "Board", "An evaluation board: 'sim', 'Com1'..'Com4' or a device path.")
        .def(py::init([](const QString &port, int variant) {
                 return std::make_unique<PyBoard>(port, variantCode(variant));
             }),
             py::arg("port"), py::arg("variant") = 68)
        .def(
            "__enter__", [](PyBoard &b) -> PyBoard & { return b; }, py::return_value_policy::reference)
        .def("__exit__", [](PyBoard &b, const py::args &) { b.close(); })
        .def("close", &PyBoard::close, "Closes the port; the board can no longer be used.")
        .def_property_readonly("is_open", &PyBoard::isOpen)
        .def_property_readonly("port", &PyBoard::port)
        .def_property_readonly("variant", [](const PyBoard &b) { return 60 + b.variantCode(); })
        .def("read_register", &PyBoard::readRegister, py::arg("address"))
        .def("write_register", &PyBoard::writeRegister, py::arg("address"), py::arg("value"),
             "Writes the register and reads it back.")
        .def("read_all", &PyBoard::readAll, "Every register the variant has: {address: value}.")
        .def("write_all", &PyBoard::writeAll, "Writes the model's registers; returns how many.")
        .def("reset", &PyBoard::reset, "Resets the board; returns its reply.")
        .def("dac", &PyBoard::dac, py::arg("code"), "Sets the DAC (0..4095); returns the reply.")
        .def("led", &PyBoard::led, py::arg("on"), "Switches the LED; returns the reply.")
        .def("load_settings", &PyBoard::loadSettings, py::arg("path"),
             "Reads a settings file (.adc) and writes it to the board.")
        .def("save_settings", &PyBoard::saveSettings, py::arg("path"),
             "Reads every register and writes a settings file (.adc).")
        .def(
            "channel", [](PyBoard &b, int n) { return PyChannel(b, n); }, py::arg("number"),
            py::keep_alive<0, 1>())
        .def(
            "acquire",
            [](PyBoard &b, const py::object &channels, int samples, int width, bool rdyAll, int captures) {
                return b.acquire(channelsOf(channels), samples, width, rdyAll, captures);
            },
            py::arg("channels"), py::arg("samples") = 100, py::arg("width") = 24, py::arg("rdy_all") = false,
            py::arg("captures") = 1,
            "Enables exactly the channels and acquires by continuous read; returns the (last) Capture.")
        .def(
            "sweep",
            [](PyBoard &b, int channel, const std::optional<std::vector<int>> &filterWords,
               const std::optional<std::vector<double>> &conversionTimesUs, const py::object &chop,
               const py::object &ranges, int samples, bool asArray) -> py::object {
                const py::list rows = b.sweep(channel, listOf(filterWords), listOf(conversionTimesUs),
                                              chopsOf(chop), rangesOf(b, ranges), samples);
                return asArray ? rowsArray(rows) : py::object(rows);
            },
            py::arg("channel"), py::arg("filter_words") = py::none(),
            py::arg("conversion_times_us") = py::none(), py::arg("chop") = "on",
            py::arg("ranges") = py::none(), py::arg("samples") = 1000, py::arg("as_array") = false,
            "The noise table of a channel: a list of dicts, or a numpy structured array.");

    m.def(
        "read_data_file",
        [](const QString &path, std::optional<int> variant) {
            return PyCapture::read(path, variant ? variantCode(*variant) : 0);
        },
        py::arg("path"), py::arg("variant") = py::none(),
        "Reads a data file; without variant, the file's ranges tell it.");
}
