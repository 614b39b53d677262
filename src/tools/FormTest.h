#pragma once

#include <QWidget>

class BoardLink;
class QCheckBox;
class QLabel;
class QRadioButton;

// "Board Test": switch the board's LED and run its SRAM check.
class FormTest : public QWidget
{
    Q_OBJECT

public:
    explicit FormTest(BoardLink &link, QWidget *parent = nullptr);

    QRadioButton *optON;
    QRadioButton *optOFF;
    QCheckBox *chkSram;
    QLabel *lblSram;

private:
    BoardLink &m_link;
};
