#include "UpDownSpinner.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>

UpDownSpinner::UpDownSpinner(QWidget *parent)
    : QSpinBox(parent)
{
    lineEdit()->setVisible(false);
    lineEdit()->setEnabled(false);
    setFocusPolicy(Qt::NoFocus);
    setFrame(false);
}

QSize UpDownSpinner::sizeHint() const
{
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QRect up = style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, this);
    const int width = qMax(14, up.width());
    return QSize(width, QSpinBox::sizeHint().height());
}
