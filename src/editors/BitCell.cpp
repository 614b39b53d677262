#include "BitCell.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

BitCell::BitCell(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    QFont small = font();
    small.setPointSizeF(7.5);
    setFont(small);
}

void BitCell::setText(const QString &text)
{
    m_text = text;
    setAccessibleName(text);
    update();
}

void BitCell::setSet(bool on)
{
    if (m_set == on)
        return;
    m_set = on;
    update();
}

void BitCell::setOperable(bool on)
{
    m_operable = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void BitCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect textRect(0, 0, width(), height() - 9);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignBottom, m_text);
    const QRect square(width() / 2 - 4, height() - 9, 8, 8);
    painter.setBrush(m_set ? palette().color(QPalette::WindowText) : Qt::transparent);
    painter.drawRect(square.adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void BitCell::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_operable)
        Q_EMIT clicked();
    QWidget::mousePressEvent(event);
}

void BitCell::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && m_operable) {
        Q_EMIT clicked();
        return;
    }
    QWidget::keyPressEvent(event);
}
