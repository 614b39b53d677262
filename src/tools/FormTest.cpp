#include "FormTest.h"

#include "board/BoardLink.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>

FormTest::FormTest(BoardLink &link, QWidget *parent)
    : QWidget(parent)
    , m_link(link)
{
    setObjectName(QStringLiteral("FormTest"));
    setWindowTitle(QStringLiteral("Board Test"));

    auto *led = new QGroupBox(QStringLiteral("Check Led"), this);
    optON = new QRadioButton(QStringLiteral("ON"), led);
    optON->setObjectName(QStringLiteral("optON"));
    optOFF = new QRadioButton(QStringLiteral("OFF"), led);
    optOFF->setObjectName(QStringLiteral("optOFF"));
    optOFF->setChecked(true);
    auto *ledLayout = new QHBoxLayout(led);
    ledLayout->addWidget(optON);
    ledLayout->addWidget(optOFF);
    // Selecting an option (not deselecting the other) switches the LED.
    connect(optON, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_link.BrdLED(0);
    });
    connect(optOFF, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            m_link.BrdLED(255);
    });

    auto *sram = new QGroupBox(QStringLiteral("Check SRam"), this);
    chkSram = new QCheckBox(sram);
    chkSram->setObjectName(QStringLiteral("chkSram"));
    lblSram = new QLabel(sram);
    lblSram->setObjectName(QStringLiteral("lblSram"));
    lblSram->setMinimumWidth(140);
    auto *sramLayout = new QHBoxLayout(sram);
    sramLayout->addWidget(chkSram);
    sramLayout->addWidget(lblSram, 1);
    // The box acts as a push button: checked, it runs the test and clears itself.
    connect(chkSram, &QCheckBox::clicked, this, [this](bool checked) {
        if (!checked)
            return;
        lblSram->setText(m_link.BrdCheckSRAM());
        chkSram->setChecked(false);
    });

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(led);
    layout->addWidget(sram);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
