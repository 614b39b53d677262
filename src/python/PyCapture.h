#pragma once

// Python's headers come before Qt's: Qt's "slots" macro breaks them.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "PyQString.h"
#include "data/ClassData.h"
#include "model/QM4168.h"

#include <memory>

// qm416x.Capture: the codes of one acquisition or data file and its conditions, as the
// program's store holds them, with the device model of its variant. Every figure comes from
// the same routines as the data, spectrum and histogram windows.
class PyCapture
{
public:
    // An empty store of the variant (2, 4, 8 or 9).
    explicit PyCapture(int variant);

    // Reads a data file; variant 0 picks the variant from the file's ranges.
    static std::unique_ptr<PyCapture> read(const QString &path, int variant);

    ClassData &data() { return *m_data; }
    QM4168 &adc() { return *m_adc; }

    int variant() const { return m_adc->EvBoard(); }
    pybind11::list channels() const;
    pybind11::array_t<qint32> codes(int channel) const;
    pybind11::array_t<double> volts(int channel) const;
    pybind11::dict statistics(int channel) const;
    pybind11::tuple spectrum(int channel, const QString &window, bool fullScale) const;
    pybind11::dict metrics(int channel, const QString &window) const;
    pybind11::tuple histogram(int channel) const;
    pybind11::dict allan(int channel) const;
    void save(const QString &path) const;

private:
    // Raises ValueError when the channel holds no data (IndexError outside 0..7).
    void checkValid(int channel) const;
    static int windowSelector(const QString &name);

    std::unique_ptr<QM4168> m_adc;
    std::unique_ptr<ClassData> m_data;
};
