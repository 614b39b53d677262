#include "FormReset.h"

#include "board/BoardLink.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FormReset::FormReset(BoardLink &link, QWidget *parent)
    : QDialog(parent)
    , m_link(link)
{
    setObjectName(QStringLiteral("FormReset"));
    setWindowTitle(QStringLiteral("QM416x"));
    setModal(true);

    LabelMessage = new QLabel(this);
    LabelMessage->setObjectName(QStringLiteral("LabelMessage"));
    QFont font = LabelMessage->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 2);
    LabelMessage->setFont(font);
    LabelMessage->setAlignment(Qt::AlignCenter);

    CommandWriteAll = new QPushButton(QStringLiteral("Write All Registers"), this);
    CommandWriteAll->setObjectName(QStringLiteral("CommandWriteAll"));
    CommandReadAll = new QPushButton(QStringLiteral("Read all registers"), this);
    CommandReadAll->setObjectName(QStringLiteral("CommandReadAll"));
    CommandCancel = new QPushButton(QStringLiteral("Cancel"), this);
    CommandCancel->setObjectName(QStringLiteral("CommandCancel"));
    for (QPushButton *b : {CommandWriteAll, CommandReadAll, CommandCancel})
        b->setAutoDefault(false);

    connect(CommandReadAll, &QPushButton::clicked, this, [this] {
        m_link.RegReadAll();
        accept();
    });
    connect(CommandWriteAll, &QPushButton::clicked, this, [this] {
        m_link.RegWriteAll();
        accept();
    });
    connect(CommandCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CommandWriteAll);
    buttons->addWidget(CommandReadAll);
    buttons->addWidget(CommandCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(LabelMessage);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
