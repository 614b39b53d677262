#include "Acquisition.h"

#include "BoardLink.h"
#include "data/ClassData.h"
#include "model/HexText.h"
#include "model/QM4168.h"
#include "platform/UserDialogs.h"

#include <QStringList>

namespace {
constexpr int ModeAddress = 0x38;
constexpr qint32 ContRdBit = 0x04;
} // namespace

Acquisition::Acquisition(QM4168 &model, ClassData &store, BoardLink &link, UserDialogs *dialogs,
                         DialogRunner runDialog, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_store(store)
    , m_link(link)
    , m_dialogs(dialogs)
    , m_runDialog(std::move(runDialog))
{
}

std::optional<ContReadResult> Acquisition::ReadData()
{
    QList<int> pending;
    for (int cell = 0; cell <= m_model.MaxAddress(); ++cell)
        if (m_model.Pending(cell))
            pending << cell;
    if (!pending.isEmpty()) {
        const UserDialogs::Answer answer =
            m_dialogs ? m_dialogs->askYesNoCancel(pendingQuestion(pending)) : UserDialogs::Answer::Yes;
        if (answer == UserDialogs::Answer::Cancel)
            return std::nullopt;
        if (answer == UserDialogs::Answer::No)
            return readWithChipSettings();
        if (!writePending(pending))
            return std::nullopt;
    }
    // Operating mode 001 (continuous conversion) and the continuous-read bit; bits 4, 3, 1
    // and 0 (clock, dump, data width, clamp) stay.
    m_model.setRegister(ModeAddress, false, (m_model.Register(ModeAddress) & 0x1B) | 0x24);
    std::optional<ContReadResult> result = runDialog();
    // The request gave the chip this mode; the closing exchange took it out of
    // continuous-read mode.
    if (result && result->outcome != ContReadResult::LinkClosed &&
        result->outcome != ContReadResult::LinkBusy)
        m_model.setChipValue(ModeAddress, m_model.Register(ModeAddress) & ~ContRdBit);
    leaveContRead(result);
    m_store.Update();
    if (result && result->keptData())
        Q_EMIT ShowData();
    tell(result);
    return result;
}

QString Acquisition::pendingQuestion(const QList<int> &addresses)
{
    QStringList names;
    for (int a : addresses)
        names << HexPad(a, 2) + QLatin1Char('h');
    return QStringLiteral("The chip has not been given the changes of register %1.\n\n"
                          "Yes: write them, then read.\nNo: read with the chip's own settings.\n"
                          "Cancel: do not read.")
        .arg(names.join(QStringLiteral(", ")));
}

bool Acquisition::writePending(const QList<int> &addresses)
{
    // The mode cell is the last cell: written last, as Write All does.
    for (int address : addresses) {
        if (m_link.RegWriteOne(address))
            continue;
        if (m_dialogs)
            m_dialogs->message(
                QStringLiteral("Register %1h could not be written to the chip; nothing was read.")
                    .arg(HexPad(address, 2)),
                UserDialogs::Icon::Warning);
        return false;
    }
    return true;
}

std::optional<ContReadResult> Acquisition::readWithChipSettings()
{
    // The chip's settings in a model of their own; the request puts the chip into
    // continuous conversion with the continuous-read bit from its own mode value.
    const bool modeEdited = m_model.Pending(ModeAddress);
    QM4168 chip;
    m_model.chipPicture(chip);
    const qint32 mode = (chip.Register(ModeAddress) & 0x1B) | 0x24;
    chip.setRegister(ModeAddress, false, mode);
    m_conditions = &chip;
    m_link.contRead().setSource(&chip);
    std::optional<ContReadResult> result = runDialog();
    m_link.contRead().setSource(nullptr);
    m_conditions = nullptr;

    // Out of continuous-read mode with the chip's own mode. The model takes it over, as after
    // any read, unless it holds an edit of the mode register.
    const qint32 after = mode & ~ContRdBit;
    QByteArray frame(2, '\0');
    frame[0] = static_cast<char>(ModeAddress);
    frame[1] = static_cast<char>(after);
    if (m_link.BrdSPI(frame, 2) && frame.at(0) == static_cast<char>(ModeAddress)) {
        if (modeEdited)
            m_model.setChipValue(ModeAddress, after);
        else
            m_model.setRegisterFromChip(ModeAddress, after);
    } else if (result && result->completed() && result->closeProblem.isEmpty()) {
        result->closeProblem = QStringLiteral("The mode write that ends the continuous read failed: %1.")
                                   .arg(m_link.transfer().failureOf(ModeAddress));
    }
    m_store.Update();
    if (result && result->keptData())
        Q_EMIT ShowData();
    tell(result);
    return result;
}

std::optional<ContReadResult> Acquisition::RunContReadDialog()
{
    std::optional<ContReadResult> result = runDialog();
    leaveContRead(result);
    m_store.Update();
    if (m_store.Valid(-1))
        Q_EMIT ShowData();
    tell(result);
    return result;
}

std::optional<ContReadResult> Acquisition::runDialog()
{
    // While the dialog is open, user register accesses go straight to the chip, unrecorded
    // and without read-back, and no automatic read starts.
    m_link.setUpdateState(RegisterSync::UpdContRead);
    const std::optional<ContReadResult> result = m_runDialog ? m_runDialog() : std::nullopt;
    m_link.setUpdateState(m_link.isPortOpen() ? RegisterSync::UpdIdle : RegisterSync::UpdClosed);
    return result;
}

void Acquisition::leaveContRead(std::optional<ContReadResult> &result)
{
    // Sent: the chip leaves continuous-read mode through the usual write path. After a
    // completed transfer that write is part of the closing exchange and must be answered.
    RegisterTransfer &transfer = m_link.transfer();
    transfer.watchWrites();
    m_model.setRegister(ModeAddress, true, m_model.Register(ModeAddress) & ~ContRdBit);
    const QString failure = transfer.writeFailure();
    if (result && result->completed() && result->closeProblem.isEmpty() && !failure.isEmpty())
        result->closeProblem =
            QStringLiteral("The mode write that ends the continuous read failed: %1.").arg(failure);
}

void Acquisition::tell(const std::optional<ContReadResult> &result)
{
    if (!result || !m_dialogs)
        return;
    QString text = result->message();
    if (text.isEmpty())
        return;
    if (result->keptData())
        text += QStringLiteral(" The data read are kept.");
    else if (result->outcome != ContReadResult::LinkClosed)
        text += QStringLiteral(" The data held before are kept.");
    m_dialogs->message(text, UserDialogs::Icon::Warning);
}
