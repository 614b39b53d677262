#include "FormSelectBoard.h"

#include "ChipPicture.h"
#include "model/QM4168.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

FormSelectBoard::FormSelectBoard(QM4168 &model, int &variantCode, QWidget *parent)
    : QDialog(parent)
    , IADC(model)
    , m_variantCode(variantCode)
{
    setObjectName(QStringLiteral("FormSelectBoard"));
    setWindowTitle(QStringLiteral("QM416x Evaluation Software"));
    setModal(true);

    auto *picture = new QLabel(this);
    picture->setPixmap(ChipPicture::pixmap(96));
    auto *label = new QLabel(QStringLiteral("Select an Evaluation Board..."), this);

    auto makeButton = [this](const char *name, const char *caption, int code) {
        auto *button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, code] { choose(code); });
        return button;
    };
    cmdQM4162 = makeButton("cmdQM4162", "QM4162-EB", 2);
    cmd4164 = makeButton("cmd4164", "QM4164-EB", 4);
    cmd4168 = makeButton("cmd4168", "QM4168-EB", 8);
    cmd4169 = makeButton("cmd4169", "QM4169-EB", 9);

    auto *layout = new QGridLayout(this);
    layout->addWidget(picture, 0, 0, 4, 1, Qt::AlignCenter);
    layout->addWidget(label, 0, 1);
    layout->addWidget(cmdQM4162, 1, 1);
    layout->addWidget(cmd4164, 2, 1);
    layout->addWidget(cmd4168, 3, 1);
    layout->addWidget(cmd4169, 4, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FormSelectBoard::choose(int code)
{
    m_variantCode = code;
    IADC.setEvBoard(code);
    accept();
}
