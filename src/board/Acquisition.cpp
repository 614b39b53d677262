#include "Acquisition.h"

#include "BoardLink.h"
#include "data/ClassData.h"
#include "model/QM4168.h"
#include "platform/UserDialogs.h"

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
    // Operating mode 001 (continuous conversion) and the continuous-read bit; bits 4, 3, 1
    // and 0 (clock, dump, data width, clamp) stay.
    m_model.setRegister(ModeAddress, false, (m_model.Register(ModeAddress) & 0x1B) | 0x24);
    const std::optional<ContReadResult> result = runDialog();
    leaveContRead();
    m_store.Update();
    if (result && result->completed())
        Q_EMIT ShowData();
    tell(result);
    return result;
}

std::optional<ContReadResult> Acquisition::RunContReadDialog()
{
    const std::optional<ContReadResult> result = runDialog();
    leaveContRead();
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

void Acquisition::leaveContRead()
{
    // Sent: the chip leaves continuous-read mode through the usual write path.
    m_model.setRegister(ModeAddress, true, m_model.Register(ModeAddress) & ~ContRdBit);
}

void Acquisition::tell(const std::optional<ContReadResult> &result)
{
    if (!result || !m_dialogs)
        return;
    QString text = result->message();
    if (text.isEmpty())
        return;
    if (result->outcome != ContReadResult::LinkClosed)
        text += QStringLiteral(" The data held before are kept.");
    m_dialogs->message(text, UserDialogs::Icon::Warning);
}
