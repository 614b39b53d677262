#include "FormRegisters.h"

#include "FrameFit.h"
#include "RegHeading.h"
#include "RegPanel.h"
#include "board/BoardLink.h"
#include "controls/CommitLineEdit.h"
#include "model/HexText.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"
#include "platform/UserDialogs.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int ChannelBlocks[] = {0x08, 0x10, 0x18, 0x20, 0x28, 0x30, 0x38};

} // namespace

FormRegisters::FormRegisters(QM4168 &model, BoardLink &link, UserDialogs *dialogs, QWidget *parent)
    : QWidget(parent)
    , IADC(model)
    , m_link(link)
    , m_dialogs(dialogs)
    , m_powerOn(model.EvBoard())
{
    setObjectName(QStringLiteral("FormRegisters"));
    setWindowTitle(QStringLiteral("Registers"));

    m_list = new QWidget;
    m_list->setObjectName(QStringLiteral("RegisterList"));
    auto *rows = new QVBoxLayout(m_list);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    rows->setSizeConstraint(QLayout::SetFixedSize);
    Heading = new RegHeading(m_list);
    rows->addWidget(Heading);
    for (const RegisterDesign::Row &row : RegisterDesign::rows()) {
        if (row.index == 0x08) {
            auto *separator = new QFrame(m_list);
            separator->setFrameShape(QFrame::HLine);
            separator->setFrameShadow(QFrame::Sunken);
            rows->addWidget(separator);
        }
        auto *p = new RegPanel(m_list);
        p->setObjectName(QStringLiteral("RegPanel%1").arg(row.index));
        // Stored design order: address, name, type, buttons, value, bit names.
        p->setRegAddress(row.index);
        p->setRegName(row.name);
        p->setRegType(row.type);
        p->setButtonRead(row.read);
        p->setButtonWrite(row.write);
        p->setRegValue(row.value);
        if (row.type == RegisterDesign::Bits)
            for (int bit = 0; bit < 8; ++bit)
                p->setBitName(bit, row.bitNames[7 - bit]);
        rows->addWidget(p);
        Panels.insert(row.index, p);
        connect(p, &RegPanel::RegEdited, this, [this, p] { onRegEdited(p); });
        connect(p, &RegPanel::RegRead, this, [this, p] { onRegRead(p); });
        connect(p, &RegPanel::RegWrite, this, [this, p] { onRegWrite(p); });
        connect(p, &RegPanel::RegRefused, this, [this, p](const QString &text) {
            if (m_dialogs)
                m_dialogs->message(
                    QStringLiteral("\"%1\" is not a hexadecimal number: register %2h keeps %3h.")
                        .arg(text, HexPad(p->RegAddress(), 2), p->TextValueHex->text()),
                    UserDialogs::Icon::Warning);
        });
    }

    ListArea = new QScrollArea(this);
    ListArea->setObjectName(QStringLiteral("ListArea"));
    ListArea->setFrameShape(QFrame::NoFrame);
    ListArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListArea->setWidget(m_list);
    VscrRegisters = ListArea->verticalScrollBar();
    VscrRegisters->setObjectName(QStringLiteral("VscrRegisters"));

    FrameChannel = new QGroupBox(QStringLiteral("Channel"), this);
    FrameChannel->setObjectName(QStringLiteral("FrameChannel"));
    auto *buttons = new QHBoxLayout(FrameChannel);
    buttons->setContentsMargins(4, 2, 4, 4);
    buttons->setSpacing(2);
    m_channelGroup = new QButtonGroup(this);
    m_channelGroup->setExclusive(true);
    for (int i = 0; i < 8; ++i) {
        auto *button = new QPushButton(QStringLiteral("Channel %1").arg(i), FrameChannel);
        button->setObjectName(QStringLiteral("ButtonChannel%1").arg(i));
        button->setCheckable(true);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        buttons->addWidget(button);
        m_channelGroup->addButton(button, i);
        ButtonChannel[i] = button;
    }
    buttons->addStretch(1);
    connect(m_channelGroup, &QButtonGroup::idClicked, this, [this](int n) {
        if (IADC.Channel() != n)
            IADC.setChannel(n);
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ListArea, 1);
    layout->addWidget(FrameChannel);

    const int frameHeight = FrameChannel->sizeHint().height();
    const int scrollWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    setMinimumSize(RegPanel::RowWidth, frameHeight);
    setMaximumSize(RegPanel::RowWidth + scrollWidth, listHeight() + frameHeight);
    resize(RegPanel::RowWidth, listHeight() + frameHeight);

    Load();

    connect(&IADC, &QM4168::ChannelChanged, this, &FormRegisters::IADC_ChannelChanged);
    connect(&IADC, &QM4168::RegisterChanged, this, &FormRegisters::IADC_RegisterChanged);
    connect(&IADC, &QM4168::DataWidthChanged, this, &FormRegisters::IADC_DataWidthChanged);
    connect(&IADC, &QM4168::StatOptChanged, this, &FormRegisters::IADC_StatOptChanged);
    connect(&IADC, &QM4168::PendingChanged, this, &FormRegisters::IADC_PendingChanged);
}

QSize FormRegisters::sizeHint() const
{
    return QSize(RegPanel::RowWidth, listHeight() + FrameChannel->sizeHint().height());
}

int FormRegisters::listHeight() const
{
    return m_list->sizeHint().height();
}

void FormRegisters::Load()
{
    const int variant = IADC.EvBoard();
    for (int i = 0; i < 8; ++i)
        ButtonChannel[i]->setVisible(i <= IADC.MaxChannel() && !(variant == 2 && i == 1));

    RegisterDesign::applyTo(IADC);
    nameBitsByVariant();

    const bool test = IADC.TestEnable();
    panel(0x03)->setButtonRead(true);
    panel(0x03)->setButtonWrite(test);
    panel(0x01)->setBitName(1, test ? QStringLiteral("TestEn") : QStringLiteral("-"));

    IADC_ChannelChanged(IADC.Channel());
    for (RegPanel *p : std::as_const(Panels))
        updateMark(p);
}

void FormRegisters::nameBitsByVariant()
{
    const int variant = IADC.EvBoard();
    RegPanel *io = panel(0x01);
    if (variant == 8) {
        io->setBitName(2, QStringLiteral("-"));
    } else if (variant == 2 || variant == 4) {
        const QString none = QStringLiteral("-");
        io->setBitName(2, none);
        io->setBitName(5, QStringLiteral("P0 DIR"));
        io->setBitName(7, QStringLiteral("P0"));
        for (int bit : {4, 5, 6, 7})
            panel(0x04)->setBitName(bit, none);
        panel(0x20)->setBitName(3, QStringLiteral("RDY"));
        panel(0x20)->setBitName(4, none);
        panel(0x20)->setBitName(7, none);
        for (int bit : {2, 5, 6, 7})
            panel(0x28)->setBitName(bit, none);
    }
}

void FormRegisters::onRegEdited(RegPanel *p)
{
    IADC.setRegister(p->RegAddress(), m_link.CheckAutoWriteReg(), p->RegValue());
}

void FormRegisters::onRegRead(RegPanel *p)
{
    m_link.RegisterUserReadReq(p->RegAddress());
}

void FormRegisters::onRegWrite(RegPanel *p)
{
    IADC.setRegister(p->RegAddress(), false, p->RegValue());
    m_link.RegisterUserWriteReq(p->RegAddress());
}

void FormRegisters::showValue(RegPanel *p, qint32 value)
{
    p->setRegValue(value);
    updateMark(p);
}

void FormRegisters::updateMark(RegPanel *p)
{
    p->setMarked(p->ButtonWrite() && m_powerOn.differs(p->RegAddress(), p->RegValue()));
    p->setPending(p->RegAddress() >= 0 && IADC.Pending(p->RegAddress()));
}

void FormRegisters::IADC_PendingChanged(int address, bool)
{
    for (RegPanel *p : std::as_const(Panels))
        if (p->RegAddress() >= 0 && IADC.IAddress(p->RegAddress()) == address)
            updateMark(p);
}

void FormRegisters::IADC_ChannelChanged(int channel)
{
    if (channel >= 0 && channel < 8)
        ButtonChannel[channel]->setChecked(true);
    for (int index : ChannelBlocks) {
        RegPanel *p = panel(index);
        p->setRegAddress(index + channel);
        showValue(p, IADC.Register(index + channel));
    }
    IADC_StatOptChanged(channel, IADC.StatOpt(channel));
}

void FormRegisters::IADC_RegisterChanged(int address, qint32 value, int channel)
{
    if (channel < 0 || address == 0x38)
        showValue(panel(address), value);
    if (channel == IADC.Channel())
        showValue(panel(address & 0x38), value);
}

void FormRegisters::IADC_DataWidthChanged(int width)
{
    panel(0x08)->setRegType(width == 3 ? RegisterDesign::Wide : RegisterDesign::Word);
}

void FormRegisters::IADC_StatOptChanged(int channel, bool value)
{
    if (channel != IADC.Channel())
        return;
    RegPanel *status = panel(0x20);
    switch (IADC.EvBoard()) {
    case 2:
        status->setBitName(3, value ? QStringLiteral("P0") : QStringLiteral("RDY"));
        status->setBitName(4, value ? QStringLiteral("P1") : QStringLiteral("-"));
        break;
    case 4:
        status->setBitName(3, value ? QStringLiteral("P1") : QStringLiteral("RDY"));
        status->setBitName(4, value ? QStringLiteral("P0") : QStringLiteral("-"));
        break;
    case 8:
    case 9:
        status->setBitName(3, value ? QStringLiteral("P1") : QStringLiteral("RDY"));
        break;
    default:
        break;
    }
}

void FormRegisters::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The list shows whole when there is room; otherwise the window widens for the scroll bar.
    const int fullHeight = listHeight() + FrameChannel->sizeHint().height();
    const int scrollWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int width = height() >= fullHeight ? RegPanel::RowWidth : RegPanel::RowWidth + scrollWidth;
    fitFrameTo(this, QSize(width, height()));
}
