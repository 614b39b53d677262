#pragma once

#include "ContReadResult.h"

#include <QList>
#include <QObject>

#include <functional>
#include <optional>

class BoardLink;
class ClassData;
class QM4168;
class UserDialogs;

// What surrounds the continuous-read dialog, without the dialog: register traffic held
// while it is open, the converter taken out of continuous-read mode afterwards, the views
// told about the data, the user told when the data could not be read.
//
// The dialog itself comes from outside: runDialog shows it modally (the program's
// FormContRead; tests and the command line start the acquisition directly) and returns the
// outcome of the acquisition started from it, or nothing when it closed without one.
class Acquisition : public QObject
{
    Q_OBJECT

public:
    using DialogRunner = std::function<std::optional<ContReadResult>()>;

    Acquisition(QM4168 &model, ClassData &store, BoardLink &link, UserDialogs *dialogs,
                DialogRunner runDialog, QObject *parent = nullptr);

    // The data window's Read: the mode register goes to continuous conversion with the
    // continuous-read bit set (in the model only: the request carries it to the chip), the
    // dialog runs, then the mode register is written with the bit cleared and the store
    // raises DataChanged.
    //
    // When the model holds edits the chip has not been given, the user is asked first: Yes
    // writes them, No reads with the chip's own settings (the request and the conditions
    // recorded with the data come from what the chip was last given or returned; the edits
    // stay in the model), Cancel reads nothing. Without dialogs they are written.
    std::optional<ContReadResult> ReadData();

    // The settings the running dialog counts with: the model, or the chip's own.
    QM4168 &conditions() { return m_conditions ? *m_conditions : m_model; }

    static QString pendingQuestion(const QList<int> &addresses);

    // A register read met the converter in continuous-read mode: the dialog runs, the mode
    // register is written with the bit cleared, the store raises DataChanged, and ShowData
    // asks for the data window when some channel holds data.
    std::optional<ContReadResult> RunContReadDialog();

Q_SIGNALS:
    void ShowData();

private:
    std::optional<ContReadResult> runDialog();
    // Writes the pending registers, the mode register last; false (and told) when one failed.
    bool writePending(const QList<int> &addresses);
    std::optional<ContReadResult> readWithChipSettings();
    void leaveContRead();
    void tell(const std::optional<ContReadResult> &result);

    QM4168 &m_model;
    ClassData &m_store;
    BoardLink &m_link;
    UserDialogs *m_dialogs;
    DialogRunner m_runDialog;
    QM4168 *m_conditions = nullptr;
};
