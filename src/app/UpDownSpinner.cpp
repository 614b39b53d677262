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
}

QSize UpDownSpinner::sizeHint() const
{
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QRect up = style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, this);
    const int width = qMax(16, up.width()) + 4;
    return QSize(width, QSpinBox::sizeHint().height());
}
