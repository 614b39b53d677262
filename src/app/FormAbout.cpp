#include "FormAbout.h"

#include "AppVersion.h"
#include "ChipPicture.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

FormAbout::FormAbout(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("About QM4162 /64 /68 /69 software"));

    picIcon = new QLabel(this);
    picIcon->setPixmap(ChipPicture::pixmap(64));
    lblTitle = new QLabel(QStringLiteral("QM4162 /64 /68 /69"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(titleFont.pointSize() + 4);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(QStringLiteral("Version %1.%2.%3")
                                .arg(AppVersion::Major)
                                .arg(AppVersion::Minor)
                                .arg(AppVersion::Revision),
                            this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto *distributed = new QLabel(
        QStringLiteral("This Software is distributed free with the QM4162 /64 /68 /69 Evaluation Board"),
        this);
    distributed->setWordWrap(true);
    auto *organisation = new QLabel(QStringLiteral("QM416x Evaluation Software team"), this);
    auto *licence = new QLabel(AppVersion::licence(), this);
    licence->setObjectName(QStringLiteral("lblLicence"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->addWidget(picIcon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(lblTitle, 0, 1);
    layout->addWidget(lblVersion, 1, 1);
    layout->addWidget(distributed, 2, 1);
    layout->addWidget(organisation, 3, 1);
    layout->addWidget(licence, 4, 1);
    layout->addWidget(cmdOK, 5, 1, Qt::AlignRight);
    setFixedWidth(420);
}

void FormAbout::showEvent(QShowEvent *event)
{
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    QDialog::showEvent(event);
}
