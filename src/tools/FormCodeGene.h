#pragma once

#include <QWidget>

class QM4168;
class QListWidget;
class QPushButton;
class QToolButton;

// "Code Generator": while recording, every user register access becomes lines of
// pseudo-code for a microcontroller; lines can be copied and pasted.
class FormCodeGene : public QWidget
{
    Q_OBJECT

public:
    explicit FormCodeGene(QM4168 &model, QWidget *parent = nullptr);

    bool Record() const { return m_record; }
    void WriteOperation(int address);
    void ReadOperation(int address);

    QToolButton *ChkRecord;
    QPushButton *Command1;
    QPushButton *CmdPast;
    QListWidget *LstCodeGene;

public Q_SLOTS:
    void IADC_RegisterSend(int address, qint32 value, int channel);

private:
    void append(const QStringList &lines);
    void copy();
    void paste();

    QM4168 &IADC;
    bool m_record = false;
};
