#pragma once

// Python's headers come before Qt's: Qt's "slots" macro breaks them.
#include <pybind11/pybind11.h>

#include "PyCapture.h"
#include "PyDialogs.h"
#include "PyQString.h"

#include <QList>

#include <functional>
#include <memory>

class BoardSession;
class QM4168;

// qm416x.Board: an evaluation board on a port, through the command line's board session
// (the same model, link and acquisition). Every call that talks to the board waits inside
// with the GIL released; failures raise BoardError with the program's messages.
class PyBoard
{
public:
    PyBoard(const QString &port, int variantCode);
    ~PyBoard();

    void close();
    bool isOpen() const;
    QString port() const { return m_port; }
    int variantCode() const { return m_variantCode; }
    QM4168 &model();

    qint32 readRegister(int address);
    void writeRegister(int address, qint64 value);
    pybind11::dict readAll();
    int writeAll();
    QString reset();
    QString dac(int code);
    QString led(bool on);
    void loadSettings(const QString &path);
    void saveSettings(const QString &path);

    std::unique_ptr<PyCapture> acquire(const QList<int> &channels, int samples, int width, bool rdyAll,
                                       int captures);
    pybind11::list sweep(int channel, const QList<int> &filterWords, const QList<double> &conversionTimesUs,
                         const QList<bool> &chops, const QList<int> &ranges, int samples);

    // A set-up change made through the model as the setup window makes it: every write it
    // causes goes straight to the chip and must be answered and read back as written.
    void edit(const std::function<void()> &change);
    // ValueError unless channel exists on the variant.
    void checkChannel(int channel) const;

private:
    BoardSession &session();
    // Waits with the GIL released; Ctrl+C escapes a running acquisition.
    void wait(const std::function<void()> &work);
    // Raises BoardError: failure, then what the link told meanwhile.
    [[noreturn]] void fail(const QString &failure);
    void checkAddress(int address) const;
    void checkNotInContRead(const QString &what);
    int writeAllChecked();
    void readAllChecked(const QString &what);

    QString m_port;
    int m_variantCode;
    PyDialogs m_dialogs;
    std::unique_ptr<BoardSession> m_session;
};
