#include "RegHeading.h"

#include "RegPanel.h"

#include <QLabel>

RegHeading::RegHeading(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(RegPanel::RowWidth, RegPanel::RowHeight);
    QFont bold = font();
    bold.setPointSizeF(8);
    bold.setBold(true);
    const struct
    {
        const char *caption;
        int x, width;
    } columns[] = {{"Name", RegPanel::NameX, RegPanel::AddrX - RegPanel::NameX},
                   {"Address", RegPanel::AddrX, RegPanel::HexX - 8 - RegPanel::AddrX},
                   {"Value Hex", RegPanel::HexX - 8, RegPanel::BitsX - RegPanel::HexX + 8},
                   {"Value Dec / Binary", RegPanel::BitsX, RegPanel::RowWidth - RegPanel::BitsX}};
    for (const auto &column : columns) {
        auto *label = new QLabel(QString::fromUtf8(column.caption), this);
        label->setFont(bold);
        label->setGeometry(column.x, 0, column.width, RegPanel::RowHeight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    }
}

void RegHeading::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (size() != QSize(RegPanel::RowWidth, RegPanel::RowHeight))
        resize(RegPanel::RowWidth, RegPanel::RowHeight);
}
