#include "PyCapture.h" // Python's headers first

#include "PyErrors.h"
#include "analysis/AllanDeviation.h"
#include "analysis/BuildHistogram.h"
#include "analysis/EditFFT.h"
#include "analysis/FftMetrics.h"
#include "analysis/FftWindow.h"
#include "data/DataFile.h"
#include "data/ShowStatistics.h"
#include "data/StatisticsFigures.h"

#include <pybind11/stl.h>

namespace py = pybind11;

namespace {

// A numpy array that owns the vector's storage: no copy of the samples.
template<typename T>
py::array_t<T> arrayOf(std::vector<T> &&values)
{
    auto *owned = new std::vector<T>(std::move(values));
    py::capsule owner(owned, [](void *p) { delete static_cast<std::vector<T> *>(p); });
    return py::array_t<T>(static_cast<py::ssize_t>(owned->size()), owned->data(), owner);
}

py::array_t<double> arrayOf(const QVector<double> &values)
{
    return arrayOf(std::vector<double>(values.begin(), values.end()));
}

} // namespace

PyCapture::PyCapture(int variant)
    : m_adc(std::make_unique<QM4168>())
    , m_data(std::make_unique<ClassData>())
{
    m_adc->setEvBoard(variant);
}

std::unique_ptr<PyCapture> PyCapture::read(const QString &path, int variant)
{
    auto capture = std::make_unique<PyCapture>(variant ? variant : 8);
    const DataFileError error = variant ? ReadDataFile(path, capture->data(), capture->adc())
                                        : ReadDataFileOfAnyVariant(path, capture->data(), capture->adc());
    if (error.isError())
        PyErrors::throwFileError(path, error);
    if (!capture->data().Valid(-1))
        PyErrors::throwFileError(QStringLiteral("%1: no channel holds data").arg(path));
    return capture;
}

void PyCapture::checkValid(int channel) const
{
    if (channel < 0 || channel > m_data->MaxChannel())
        throw py::index_error(
            QStringLiteral("channel %1 is not a channel number 0..7").arg(channel).toStdString());
    if (!m_data->Valid(channel))
        throw py::value_error(QStringLiteral("channel %1 holds no data").arg(channel).toStdString());
}

int PyCapture::windowSelector(const QString &name)
{
    const int selector = FftWindow::selectorOf(name);
    if (selector < 0)
        throw py::value_error(QStringLiteral("window must be one of %1, not '%2'")
                                  .arg(FftWindow::names().join(QStringLiteral(", ")), name)
                                  .toStdString());
    return selector;
}

py::list PyCapture::channels() const
{
    py::list list;
    for (int c = 0; c <= m_data->MaxChannel(); ++c)
        if (m_data->Valid(c))
            list.append(c);
    return list;
}

py::array_t<qint32> PyCapture::codes(int channel) const
{
    checkValid(channel);
    return arrayOf(m_data->codes(channel));
}

py::array_t<double> PyCapture::volts(int channel) const
{
    checkValid(channel);
    // One code is worth the range's LSB, as in the noise figures.
    const double lsb = statisticsFigures(*m_data, channel, *m_adc).lsbV;
    const std::vector<qint32> codes = m_data->codes(channel);
    std::vector<double> volts(codes.size());
    for (size_t i = 0; i < codes.size(); ++i)
        volts[i] = codes[i] * lsb;
    return arrayOf(std::move(volts));
}

py::dict PyCapture::statistics(int channel) const
{
    checkValid(channel);
    const StatisticsFigures f = statisticsFigures(*m_data, channel, *m_adc);
    py::dict d;
    d["channel"] = f.channel;
    d["samples"] = f.samples;
    d["conv_time_s"] = f.convTimeS;
    d["input_range_v"] = f.inputRangeV;
    d["bipolar"] = f.bipolar;
    d["data_width_bits"] = f.dataWidthBits;
    d["lsb_v"] = f.lsbV;
    d["rms_noise_v"] = f.rmsNoiseV;
    d["pkpk_noise_v"] = f.pkPkNoiseV;
    d["avg_voltage_v"] = f.avgVoltageV;
    d["code_dev"] = f.codeDev;
    d["avg_code"] = f.avgCode;
    d["code_span"] = f.codeSpan;
    d["max_code"] = f.maxCode;
    d["min_code"] = f.minCode;
    d["rms_resolution_bits"] = f.rmsResolutionBits;
    d["pkpk_resolution_bits"] = f.pkPkResolutionBits;
    d["pkpk_measured_v"] = f.pkPkNoiseV;
    d["pkpk_measured_samples"] = f.samples;
    d["pkpk_estimated_v"] = f.pkPkEstimatedV;
    d["noise_free_bits_measured"] = f.noiseFreeBitsMeasured;
    d["noise_free_bits_estimated"] = f.noiseFreeBitsEstimated;
    py::dict texts;
    for (const StatisticsCell &cell : ShowStatistics(*m_data, channel, *m_adc, QLocale::c()) +
                                          NoiseFreeStatistics(*m_data, channel, *m_adc, QLocale::c()))
        texts[py::cast(cell.label)] = cell.value.trimmed();
    d["texts"] = texts;
    return d;
}

py::tuple PyCapture::spectrum(int channel, const QString &window, bool fullScale) const
{
    checkValid(channel);
    const FftResult result = EditFFT(*m_data, channel, windowSelector(window),
                                     fullScale ? FftScale::FullScale : FftScale::Relative);
    if (result.failed)
        throw py::value_error(result.messages.isEmpty() ? std::string("no spectrum")
                                                        : result.messages.last().text.toStdString());
    return py::make_tuple(arrayOf(result.table.x), arrayOf(result.table.y));
}

py::dict PyCapture::metrics(int channel, const QString &window) const
{
    checkValid(channel);
    const FftMetrics m = fftMetrics(*m_data, channel, windowSelector(window));
    py::dict d;
    d["valid"] = m.valid;
    d["no_tone"] = m.noTone;
    d["message"] = m.message;
    d["fundamental_bin"] = m.fundamentalBin;
    d["fundamental_hz"] = m.fundamentalHz;
    d["snr_db"] = m.snrDb;
    d["thd_db"] = m.thdDb;
    d["sinad_db"] = m.sinadDb;
    d["sfdr_dbc"] = m.sfdrDbc;
    d["enob_bits"] = m.enobBits;
    d["text"] = metricsText(m);
    return d;
}

py::tuple PyCapture::histogram(int channel) const
{
    checkValid(channel);
    // Each bin is three rows (code, 0), (code, n), (code, 0): the middle one carries it.
    const PlotTable table = BuildHistogram(*m_data, channel);
    std::vector<qint32> codes;
    std::vector<qint64> counts;
    for (int i = 1; i < table.rows(); i += 3) {
        codes.push_back(static_cast<qint32>(table.x[i]));
        counts.push_back(static_cast<qint64>(table.y[i]));
    }
    return py::make_tuple(arrayOf(std::move(codes)), arrayOf(std::move(counts)));
}

py::dict PyCapture::allan(int channel) const
{
    checkValid(channel);
    const AllanCurve curve = allanDeviation(*m_data, channel, *m_adc);
    std::vector<double> tau, code, volts;
    std::vector<qint32> count;
    for (const AllanPoint &p : curve.points) {
        tau.push_back(p.tauS);
        code.push_back(p.adevCode);
        volts.push_back(p.adevV);
        count.push_back(p.count);
    }
    py::dict d;
    d["tau_s"] = arrayOf(std::move(tau));
    d["adev_code"] = arrayOf(std::move(code));
    d["adev_v"] = arrayOf(std::move(volts));
    d["count"] = arrayOf(std::move(count));
    d["minimum"] = curve.minimum;
    return d;
}

void PyCapture::save(const QString &path) const
{
    const DataFileError error = WriteDataFile(path, *m_data, *m_adc);
    if (error.isError())
        PyErrors::throwFileError(path, error);
}
