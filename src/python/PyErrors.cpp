// Python's headers come before Qt's: Qt's "slots" macro breaks them.
#include <pybind11/pybind11.h>

#include "PyErrors.h"
#include "data/DataFileError.h"

namespace py = pybind11;

namespace {

// Set when the module is imported; the module keeps the types alive.
PyObject *g_fileError = nullptr;
PyObject *g_boardError = nullptr;

// pybind11 turns this into the Python exception after the call has unwound.
struct FileErrorException
{
    QString message;
};

struct BoardErrorException
{
    QString message;
};

} // namespace

void PyErrors::registerTypes(void *modulePtr)
{
    py::module_ &module = *static_cast<py::module_ *>(modulePtr);
    static py::exception<FileErrorException> fileError(module, "FileError", PyExc_OSError);
    g_fileError = fileError.ptr();
    static py::exception<BoardErrorException> boardError(module, "BoardError", PyExc_OSError);
    g_boardError = boardError.ptr();
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p)
                std::rethrow_exception(p);
        } catch (const FileErrorException &e) {
            PyErr_SetString(g_fileError, e.message.toUtf8().constData());
        } catch (const BoardErrorException &e) {
            PyErr_SetString(g_boardError, e.message.toUtf8().constData());
        }
    });
}

void PyErrors::throwFileError(const QString &path, const DataFileError &error)
{
    throwFileError(QStringLiteral("%1: %2").arg(path, error.boxText()));
}

void PyErrors::throwFileError(const QString &message)
{
    throw FileErrorException{message};
}

void PyErrors::throwBoardError(const QString &message)
{
    throw BoardErrorException{message};
}
