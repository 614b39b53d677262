#include "FormCodeGene.h"

#include "CodeGenerator.h"
#include "model/QM4168.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QIcon recordIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    p.drawEllipse(QRectF(3, 3, 10, 10));
    return QIcon(pixmap);
}

} // namespace

FormCodeGene::FormCodeGene(QM4168 &model, QWidget *parent)
    : QWidget(parent)
    , IADC(model)
{
    setObjectName(QStringLiteral("FormCodeGene"));
    setWindowTitle(QStringLiteral("Code Generator"));

    ChkRecord = new QToolButton(this);
    ChkRecord->setObjectName(QStringLiteral("ChkRecord"));
    ChkRecord->setCheckable(true);
    ChkRecord->setIcon(recordIcon());
    ChkRecord->setToolTip(QStringLiteral("Record"));
    connect(ChkRecord, &QToolButton::toggled, this, [this](bool on) { m_record = on; });

    Command1 = new QPushButton(QStringLiteral("copy"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &FormCodeGene::copy);
    CmdPast = new QPushButton(QStringLiteral("paste"), this);
    CmdPast->setObjectName(QStringLiteral("CmdPast"));
    connect(CmdPast, &QPushButton::clicked, this, &FormCodeGene::paste);

    LstCodeGene = new QListWidget(this);
    LstCodeGene->setObjectName(QStringLiteral("LstCodeGene"));
    LstCodeGene->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LstCodeGene->setFont(QFont(QStringLiteral("DejaVu Sans Mono")));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ChkRecord);
    buttons->addWidget(Command1);
    buttons->addWidget(CmdPast);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(LstCodeGene);
    resize(380, 300);

    connect(&IADC, &QM4168::RegisterSend, this, &FormCodeGene::IADC_RegisterSend);
}

void FormCodeGene::IADC_RegisterSend(int, qint32, int)
{
    // Writes are recorded when the board link performs them, with the value written.
}

void FormCodeGene::WriteOperation(int address)
{
    append(CodeGenerator::writeOperation(IADC, address));
}

void FormCodeGene::ReadOperation(int address)
{
    append(CodeGenerator::readOperation(IADC, address));
}

void FormCodeGene::append(const QStringList &lines)
{
    // The new last line joins the lines the user had selected.
    LstCodeGene->addItems(lines);
    LstCodeGene->setCurrentRow(LstCodeGene->count() - 1, QItemSelectionModel::Select);
}

void FormCodeGene::copy()
{
    QStringList lines;
    QVector<bool> selected;
    for (int i = 0; i < LstCodeGene->count(); ++i) {
        lines << LstCodeGene->item(i)->text();
        selected << LstCodeGene->item(i)->isSelected();
    }
    QApplication::clipboard()->setText(CodeGenerator::copyText(lines, selected));
}

void FormCodeGene::paste()
{
    QStringList lines;
    QVector<bool> selected;
    for (int i = 0; i < LstCodeGene->count(); ++i) {
        lines << LstCodeGene->item(i)->text();
        selected << LstCodeGene->item(i)->isSelected();
    }
    CodeGenerator::paste(lines, selected, QApplication::clipboard()->text());
    LstCodeGene->clear();
    LstCodeGene->addItems(lines);
    for (int i = 0; i < selected.size(); ++i)
        LstCodeGene->item(i)->setSelected(selected[i]);
}
