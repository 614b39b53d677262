#pragma once

#include <QDialog>

class QM4168;
class QPushButton;

// The chip-variant dialog shown at start-up when the command line names no variant.
// A button sets the variant code and the model's variant and closes the dialog; the
// close box closes it without a choice.
class FormSelectBoard : public QDialog
{
    Q_OBJECT

public:
    FormSelectBoard(QM4168 &model, int &variantCode, QWidget *parent = nullptr);

    QPushButton *cmdQM4162;
    QPushButton *cmd4164;
    QPushButton *cmd4168;
    QPushButton *cmd4169;

private:
    void choose(int code);

    QM4168 &IADC;
    int &m_variantCode;
};
