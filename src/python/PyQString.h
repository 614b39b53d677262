#pragma once

// Python's headers come before Qt's: Qt's "slots" macro breaks them.
#include <pybind11/pybind11.h>

#include <QString>

// QString to and from Python str (and a str or os.PathLike for paths).
namespace pybind11::detail {

template<>
struct type_caster<QString>
{
    PYBIND11_TYPE_CASTER(QString, const_name("str"));

    bool load(handle source, bool)
    {
        object text = reinterpret_steal<object>(PyOS_FSPath(source.ptr()));
        if (!text) {
            PyErr_Clear();
            return false;
        }
        if (!PyUnicode_Check(text.ptr()))
            return false;
        Py_ssize_t size = 0;
        const char *utf8 = PyUnicode_AsUTF8AndSize(text.ptr(), &size);
        if (!utf8) {
            PyErr_Clear();
            return false;
        }
        value = QString::fromUtf8(utf8, static_cast<qsizetype>(size));
        return true;
    }

    static handle cast(const QString &source, return_value_policy, handle)
    {
        const QByteArray utf8 = source.toUtf8();
        return PyUnicode_FromStringAndSize(utf8.constData(), utf8.size());
    }
};

} // namespace pybind11::detail
