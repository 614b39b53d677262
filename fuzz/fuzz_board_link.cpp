// The board link's receive path under a program of link operations: single and bulk
// register reads and writes, SPI frames, board commands, user requests, automatic reads,
// unsolicited bytes and a port that vanishes. The fuzz input writes the program and plays
// the board (see FuzzSerialPort); time passes only when the program says so, by firing the
// link's timers. Checked throughout:
//  - the link never stays waiting: whenever an answer is over and the link still waits,
//    its time-out is armed (and is then fired); between operations nothing waits;
//  - buffers stay bounded: the reply line, the port's input;
//  - a register read that fails leaves the model as it was;
//  - a vanished port is reported at most once.

#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "FuzzSerialPort.h"
#include "board/BoardLink.h"
#include "board/ReplyParser.h"
#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"
#include "platform/UserDialogs.h"
#include "sim/SimBoard.h"

#include <QPointer>
#include <QTimer>

#include <array>

namespace {

constexpr int MostOperations = 64;

class QuietDialogs : public UserDialogs
{
public:
    int messages = 0;
    void message(const QString &, Icon, const QString &) override { ++messages; }
    bool question(const QString &, const QString &) override { return false; }
    Answer askYesNoCancel(const QString &, const QString &) override { return Answer::Cancel; }
    std::optional<QString> openFile(const QString &, const FileFilter &) override { return std::nullopt; }
    std::optional<QString> saveFile(const QString &, const FileFilter &, const QString &) override
    {
        return std::nullopt;
    }
};

std::array<qint32, 64> registers(const QM4168 &model)
{
    std::array<qint32, 64> values{};
    for (int a = 0; a < 64; ++a)
        values[a] = model.Register(a);
    return values;
}

void fire(QTimer &timer)
{
    if (timer.isActive())
        QMetaObject::invokeMethod(&timer, "timeout");
}

class LinkProgram
{
public:
    LinkProgram(const uint8_t *data, size_t size)
        : m_input(data, size)
        , m_board(variantOf(m_input.choice(4)))
        , m_link(m_model, &m_dialogs, [this](const QString &) {
            auto port = std::make_unique<FuzzSerialPort>(m_input, m_board);
            m_port = port.get();
            QObject::connect(port.get(), &FuzzSerialPort::answered, [this] { answerOver(); });
            QObject::connect(port.get(), &SerialPort::lost, [this] { ++m_vanished; });
            return port;
        })
    {
        const int variant = m_board.converter().variant();
        m_model.setEvBoard(variant);
        RegisterDesign::applyTo(m_model);
        LoadRegisterDefaults(m_model, variant);
        BoardHooks &hooks = m_link.hooks();
        hooks.Record = [] { return true; };
        // The reset dialog may write or read every register at once.
        QObject::connect(&hooks, &BoardHooks::ResetNotice, [this] {
            if (m_depth > 1)
                return;
            ++m_depth;
            ++m_foreign;
            switch (m_input.choice(4)) {
            case 1:
                m_link.RegWriteAll();
                break;
            case 2:
                m_link.RegReadAll();
                break;
            default:
                break;
            }
            --m_depth;
        });
        QObject::connect(&hooks, &BoardHooks::PortLost, [this] { ++m_lostReports; });
        for (QTimer *timer : {&m_link.TimerAutoUpdate(), &m_link.TimerRegularUpdate(),
                              &m_link.TimerUserWrite().timer(), &m_link.TimerUserRead().timer()})
            QObject::connect(timer, &QTimer::timeout, [this] { ++m_foreign; });
    }

    void run()
    {
        m_link.ComOpen(QStringLiteral("Com1"));
        for (int op = 0; op < MostOperations && !m_input.atEnd(); ++op) {
            step();
            settle();
            FUZZ_CHECK(m_link.BrdState() != LinkState::BoardWaiting);
            FUZZ_CHECK(!m_link.BrdTimeOut().isActive());
            checkBounds();
        }
        FUZZ_CHECK(m_lostReports <= m_vanished);
        m_link.ComClose();
        settle();
    }

private:
    static int variantOf(int index) { return std::array<int, 4>{2, 4, 8, 9}[index]; }

    int address() { return m_input.choice(64); }

    void step()
    {
        switch (m_input.choice(12)) {
        case 0: { // a single read: when it fails, nothing may change
            const int a = address();
            const auto before = registers(m_model);
            const int foreign = m_foreign;
            if (!m_link.RegReadOne(a) && m_foreign == foreign)
                FUZZ_CHECK(registers(m_model) == before);
            break;
        }
        case 1:
            m_link.RegWriteOne(address());
            break;
        case 2: {
            QByteArray frame = m_input.take(m_input.choice(9));
            const QByteArray sent = frame;
            const bool ok = m_link.BrdSPI(frame, m_input.choice(10));
            if (!ok)
                FUZZ_CHECK(frame == sent);
            break;
        }
        case 3:
            switch (m_input.choice(5)) {
            case 0:
                m_link.BrdReset();
                break;
            case 1:
                m_link.BrdCheckSRAM();
                break;
            case 2:
                m_link.BrdDAC(m_input.byte() * 17);
                break;
            case 3:
                m_link.BrdLED(m_input.byte());
                break;
            default:
                m_link.BrdADCReset();
                break;
            }
            break;
        case 4:
            if (m_input.byte() & 1)
                m_link.RegisterUserWriteReq(address());
            else
                m_link.RegisterUserReadReq(address());
            break;
        case 5: // an edit in a window: the model sends it on
            m_model.setRegister(address(), true, static_cast<qint32>(m_input.byte() * 0x10101));
            break;
        case 6: // the board speaks unasked
            if (m_port)
                m_port->inject(m_input.take(m_input.byte()));
            break;
        case 7: // time passes
            fire(m_link.TimerAutoUpdate());
            fire(m_link.TimerRegularUpdate());
            if (m_link.TimerUserWrite().isArmed())
                m_link.TimerUserWrite().tick();
            if (m_link.TimerUserRead().isArmed())
                m_link.TimerUserRead().tick();
            break;
        case 8:
            if (m_port)
                m_port->vanish();
            break;
        case 9:
            if (m_input.byte() & 1)
                m_link.ComOpen(QStringLiteral("Com1"));
            else
                m_link.ComClose();
            break;
        case 10: {
            const uint8_t bits = m_input.byte();
            m_link.setCheckAutoWriteReg(bits & 1);
            m_link.setCheckAutoWriteADC(bits & 2);
            m_link.setCheckAutoUpdate(bits & 4);
            m_link.setCheckRegularUpdate(bits & 8);
            break;
        }
        default:
            switch (m_input.choice(4)) {
            case 0:
                m_link.RegReadChAll(m_input.choice(8));
                break;
            case 1:
                m_link.RegReadState();
                break;
            case 2:
                m_link.RegReadAll();
                break;
            default:
                m_link.RegWriteAll();
                break;
            }
            break;
        }
    }

    // An answer is over. A link that still waits must have its time-out armed; it fires now.
    void answerOver()
    {
        checkBounds();
        if (m_link.BrdState() != LinkState::BoardWaiting || (m_port && m_port->delivering()))
            return;
        FUZZ_CHECK(m_link.BrdTimeOut().isActive());
        fire(m_link.BrdTimeOut());
    }

    void checkBounds()
    {
        FUZZ_CHECK(m_link.ReplyBuffer().size() <= ReplyParser::MaxLineLength);
        if (m_port)
            FUZZ_CHECK(m_port->bytesWaiting() <= SerialPort::InputBufferSize);
    }

    // Runs what is queued (deliveries, answers, deferred messages) until nothing is left.
    void settle()
    {
        for (int i = 0; i < 100000 && m_port && m_port->delivering(); ++i)
            QCoreApplication::processEvents();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    FuzzBytes m_input;
    SimBoard m_board;
    QM4168 m_model;
    QuietDialogs m_dialogs;
    BoardLink m_link;
    QPointer<FuzzSerialPort> m_port;
    int m_depth = 0;
    int m_foreign = 0;
    int m_vanished = 0;
    int m_lostReports = 0;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LinkProgram(data, size).run();
    return 0;
}
