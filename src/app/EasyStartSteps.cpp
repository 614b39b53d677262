#include "EasyStartSteps.h"

#include "board/BoardLink.h"
#include "board/EventWait.h"
#include "board/LinkState.h"
#include "data/ClassData.h"
#include "model/QM4168.h"
#include "platform/UserDialogs.h"

namespace {

const QString Board = QStringLiteral("FormEvalBoard");
const QString Setup = QStringLiteral("FormADCSetup");
const QString Data = QStringLiteral("FormData");
const QString Graph = QStringLiteral("FormGraph1");
const QString Wizard = QStringLiteral("FormEasyStart");

} // namespace

EasyStartSteps::EasyStartSteps(QM4168 &model, BoardLink &link, ClassData &data, UserDialogs &dialogs,
                               Windows &windows, QObject *parent)
    : QObject(parent)
    , IADC(model)
    , m_link(link)
    , IData(data)
    , m_dialogs(dialogs)
    , m_windows(windows)
{
    Timer1.setSingleShot(true);
    Timer1.setTimerType(Qt::PreciseTimer); // a pause is never cut short
}

QStringList EasyStartSteps::instructions(int variantCode)
{
    const QString chip = QStringLiteral("QM416") + QString::number(variantCode);
    return {QStringLiteral("Connect the ") + chip + QStringLiteral(" Evaluation Board"),
            QStringLiteral("To your PC Com port - use the serial cable"),
            QStringLiteral("Included in the ") + chip + QStringLiteral(" Evaluation package"),
            QStringLiteral("Connect the ") + chip + QStringLiteral(" Evaluation Board"),
            QStringLiteral("AVdd, AGND, DVdd and DGND terminals"),
            QStringLiteral("To your 5V DC power supply"),
            QStringLiteral("And then try following steps with this SW:")};
}

std::optional<std::pair<int, int>> EasyStartSteps::channelPair(int variantCode)
{
    switch (variantCode) {
    case 2:
        return std::make_pair(0, 2);
    case 4:
        return std::make_pair(1, 2);
    case 8:
    case 9:
        return std::make_pair(0, 1);
    default:
        return std::nullopt;
    }
}

QString EasyStartSteps::channelsCaption(int variantCode)
{
    const auto pair = channelPair(variantCode);
    const auto channels = pair.value_or(std::make_pair(0, 1));
    return QStringLiteral("Enable Channels %1 and %2").arg(channels.first).arg(channels.second);
}

QString EasyStartSteps::notAccessed(int variantCode)
{
    return QStringLiteral("QM416%1 board hasn't been accessed !").arg(variantCode);
}

QString EasyStartSteps::noData(int variantCode)
{
    return QStringLiteral("No data has been read from the QM416%1 !").arg(variantCode);
}

void EasyStartSteps::message(const QString &text)
{
    m_dialogs.message(text);
}

bool EasyStartSteps::accessChecked()
{
    if (m_link.BrdState() == LinkState::BoardDisabled) {
        message(QString::fromLatin1(NotOpened));
        return false;
    }
    if (m_link.BrdState() != LinkState::BoardAccessed) {
        message(notAccessed(IADC.EvBoard()));
        return false;
    }
    return true;
}

void EasyStartSteps::pause()
{
    Timer1.start(m_pauseMs);
    waitWhile([this] { return Timer1.isActive(); });
}

void EasyStartSteps::CommandEvalBoard()
{
    if (isPausing())
        return;
    m_windows.show(Board);
    m_windows.viewSet();
    m_windows.focus(Wizard);
}

void EasyStartSteps::CommandComPort()
{
    if (isPausing())
        return;
    m_windows.show(Board);
    m_windows.focus(Board);
    m_windows.focusBoardControl(QStringLiteral("ComboComPort"));
}

void EasyStartSteps::CommandReset()
{
    if (isPausing())
        return;
    if (m_link.BrdState() == LinkState::BoardDisabled) {
        message(QString::fromLatin1(NotOpened));
        return;
    }
    m_windows.show(Board);
    m_windows.focusBoardControl(QStringLiteral("CommandReset"));
    m_windows.focus(Wizard);
    m_link.BrdReset();
    pause();
    if (m_link.BrdState() == LinkState::BoardAccessed)
        m_windows.focus(Wizard);
    else
        message(notAccessed(IADC.EvBoard()));
}

void EasyStartSteps::CommandADCSetup()
{
    if (isPausing())
        return;
    m_windows.hide(Board);
    m_windows.show(Setup);
    m_windows.viewSet();
    m_windows.focus(Setup);
    m_windows.focus(Wizard);
}

void EasyStartSteps::CommandCh0Ch1()
{
    if (isPausing())
        return;
    m_windows.show(Setup);
    if (!accessChecked())
        return;
    if (const auto pair = channelPair(IADC.EvBoard())) {
        IADC.setEnable(pair->first, true);
        pause();
        IADC.setEnable(pair->second, true);
    }
    m_windows.focus(Wizard);
}

void EasyStartSteps::Cmd_24Bits()
{
    if (isPausing() || !accessChecked())
        return;
    IADC.setDataWidth(3);
}

void EasyStartSteps::CommandData()
{
    if (isPausing())
        return;
    m_windows.hide(Board);
    m_windows.hide(Setup);
    m_windows.show(Data);
    m_windows.viewSet();
    m_windows.focus(Wizard);
}

void EasyStartSteps::CommandMeasureStart()
{
    if (isPausing() || !accessChecked())
        return;
    m_windows.show(Data);
    m_windows.focus(Wizard);
    m_windows.readData();
    m_windows.focus(Wizard);
}

int EasyStartSteps::graphChannel() const
{
    if (IADC.EvBoard() != 2)
        return 1;
    for (int c = 0; c < ClassData::Channels; ++c) {
        if (IData.Valid(c))
            return c;
    }
    return 0;
}

void EasyStartSteps::CommandGraphHistogram()
{
    if (isPausing() || !accessChecked())
        return;
    if (!IData.Valid(-1)) {
        message(noData(IADC.EvBoard()));
        return;
    }
    m_windows.show(Graph);
    m_windows.viewSet();
    m_windows.selectGraphChannel(graphChannel());
    m_windows.focus(Wizard);
    // The graph is what the step is for: in front of the wizard, which keeps the focus.
    m_windows.raise(Graph);
}
