#pragma once

#include <QWidget>

// The column headings over the register rows: "Name", "Address", "Value Hex" and
// "Value Dec / Binary", in a row of the rows' fixed size.
class RegHeading : public QWidget
{
    Q_OBJECT

public:
    explicit RegHeading(QWidget *parent = nullptr);

protected:
    void resizeEvent(QResizeEvent *event) override;
};
