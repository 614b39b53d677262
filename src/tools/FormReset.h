#pragma once

#include <QDialog>

class BoardLink;
class QLabel;
class QPushButton;

// Shown when the board or the converter has been reset: offers to write the model's
// registers to the chip or to read the chip's registers into the model.
class FormReset : public QDialog
{
    Q_OBJECT

public:
    explicit FormReset(BoardLink &link, QWidget *parent = nullptr);

    QLabel *LabelMessage;
    QPushButton *CommandWriteAll;
    QPushButton *CommandReadAll;
    QPushButton *CommandCancel;

private:
    BoardLink &m_link;
};
