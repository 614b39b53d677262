#include "RegPanel.h"

#include "BitCell.h"
#include "controls/CommitLineEdit.h"
#include "model/HexText.h"

#include <QLabel>
#include <QPushButton>

RegPanel::RegPanel(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(RowWidth, RowHeight);
    QFont small = font();
    small.setPointSizeF(8.5);
    setFont(small);
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPointSizeF(8.5);

    // Created left to right, so the Tab key walks the row in reading order.
    LabelName = new QLabel(QStringLiteral("Name"), this);
    LabelName->setObjectName(QStringLiteral("LabelName"));
    LabelName->setGeometry(NameX, 0, AddrX - NameX - 2, RowHeight);
    LabelAddr = new QLabel(QStringLiteral("00h"), this);
    LabelAddr->setObjectName(QStringLiteral("LabelAddr"));
    LabelAddr->setGeometry(AddrX, 0, ButtonsX - AddrX, RowHeight);
    CommandRd = new QPushButton(QStringLiteral("RD"), this);
    CommandRd->setObjectName(QStringLiteral("CommandRd"));
    CommandRd->setGeometry(ButtonsX, 2, 27, RowHeight - 4);
    CommandWr = new QPushButton(QStringLiteral("WR"), this);
    CommandWr->setObjectName(QStringLiteral("CommandWr"));
    CommandWr->setGeometry(ButtonsX + 28, 2, 27, RowHeight - 4);
    TextValueHex = new CommitLineEdit(QStringLiteral("00"), this);
    TextValueHex->setObjectName(QStringLiteral("TextValueHex"));
    TextValueHex->setFont(mono);
    TextValueHex->setGeometry(HexX, 2, BitsX - HexX - 10, RowHeight - 4);
    TextValueHex->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabelH = new QLabel(QStringLiteral("h"), this);
    LabelH->setObjectName(QStringLiteral("LabelH"));
    LabelH->setGeometry(BitsX - 9, 0, 9, RowHeight);
    for (int i = 7; i >= 0; --i) {
        auto *cell = new BitCell(this);
        cell->setObjectName(QStringLiteral("LabelBit%1").arg(i));
        cell->setText(QStringLiteral("BIT%1").arg(i));
        cell->setGeometry(BitsX + (7 - i) * BitWidth, 0, BitWidth, RowHeight);
        connect(cell, &BitCell::clicked, this, [this, i] { onBitClicked(i); });
        LabelBit[i] = cell;
    }
    TextValueDec = new CommitLineEdit(QStringLiteral("0"), this);
    TextValueDec->setObjectName(QStringLiteral("TextValueDec"));
    TextValueDec->setFont(mono);
    TextValueDec->setGeometry(BitsX + 4, 2, 90, RowHeight - 4);
    TextValueDec->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // Leaving a box confirms its value even when unchanged; the value reads back exactly.
    TextValueHex->setCommitsUnchanged(true);
    TextValueDec->setCommitsUnchanged(true);

    connect(CommandRd, &QPushButton::clicked, this, &RegPanel::RegRead);
    connect(CommandWr, &QPushButton::clicked, this, &RegPanel::onWrite);
    connect(TextValueHex, &CommitLineEdit::committed, this, [this] {
        const QString text = TextValueHex->text();
        if (!::RegValue::isHex(text)) {
            ShowValue(); // the value stays; the box shows it again
            Q_EMIT RegRefused(text);
            return;
        }
        m_value.setValue(::RegValue::readHex(text));
        ValueEdited();
    });
    connect(TextValueDec, &CommitLineEdit::committed, this, [this] {
        m_value.setValue(::RegValue::readDec(TextValueDec->text()));
        ValueEdited();
    });

    applyType();
    setButtonWrite(true);
}

void RegPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (size() != QSize(RowWidth, RowHeight))
        resize(RowWidth, RowHeight);
}

void RegPanel::setRegValue(qint32 value)
{
    if (value == m_value.value())
        return;
    m_value.setValue(value);
    ShowValue();
}

void RegPanel::setRegAddress(int address)
{
    if (address == m_address)
        return;
    m_address = address;
    LabelAddr->setText(HexPad(address, 2) + QStringLiteral("h"));
}

void RegPanel::setRegType(int code)
{
    const int before = m_value.type();
    const qint32 mask = m_value.mask();
    m_value.setType(code);
    if (m_value.type() != before || m_value.mask() != mask)
        applyType();
}

void RegPanel::applyType()
{
    TextValueHex->setMaxLength(m_value.hexLength());
    TextValueDec->setMaxLength(m_value.decLength());
    const bool bits = m_value.showsBits();
    for (BitCell *cell : LabelBit)
        cell->setVisible(bits);
    TextValueDec->setVisible(!bits);
    ShowValue();
}

void RegPanel::setButtonRead(bool on)
{
    m_buttonRead = on;
    CommandRd->setVisible(on);
}

void RegPanel::setButtonWrite(bool on)
{
    m_buttonWrite = on;
    CommandWr->setVisible(on);
    for (CommitLineEdit *box : {TextValueHex, TextValueDec}) {
        box->setReadOnly(!on);
        box->setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    }
    for (BitCell *cell : LabelBit)
        cell->setOperable(on);
}

QString RegPanel::RegName() const
{
    return LabelName->text();
}

void RegPanel::setRegName(const QString &name)
{
    LabelName->setText(name);
}

QString RegPanel::BitName(int bit) const
{
    return LabelBit.at(bit)->text();
}

void RegPanel::setBitName(int bit, const QString &name)
{
    LabelBit.at(bit)->setText(name);
}

void RegPanel::setMarked(bool on)
{
    if (on == m_marked)
        return;
    m_marked = on;
    QFont f = LabelName->font();
    f.setBold(on);
    LabelName->setFont(f);
    LabelName->setToolTip(on ? QStringLiteral("Differs from the power-on value") : QString());
}

void RegPanel::setPending(bool on)
{
    if (on == m_pending)
        return;
    m_pending = on;
    for (CommitLineEdit *box : {TextValueHex, TextValueDec}) {
        QPalette colours = palette();
        if (on)
            colours.setColor(QPalette::Base, QColor(255, 214, 140));
        box->setPalette(colours);
        box->setToolTip(on ? QStringLiteral("Changed here, not yet written to the chip") : QString());
    }
}

void RegPanel::ShowValue()
{
    m_value.setValue(m_value.value());
    TextValueHex->setText(m_value.hexText());
    TextValueDec->setText(m_value.decText());
    for (int i = 0; i < 8; ++i)
        LabelBit[i]->setSet(m_value.bit(i));
}

void RegPanel::ValueEdited()
{
    ShowValue();
    Q_EMIT RegEdited();
}

void RegPanel::onBitClicked(int bit)
{
    if (!m_buttonWrite)
        return;
    m_value.toggleBit(bit);
    ValueEdited();
}

void RegPanel::onWrite()
{
    // An entry still being typed is committed before the write goes out.
    QWidget *focused = focusWidget();
    if (focused == TextValueHex || focused == TextValueDec) {
        if (focused->hasFocus())
            CommandWr->setFocus(Qt::OtherFocusReason);
    }
    Q_EMIT RegWrite();
}
