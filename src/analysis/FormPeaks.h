#pragma once

#include <QWidget>

class ClassData;
class CommitLineEdit;
class QCheckBox;
class QLabel;
class QPushButton;
class UpDownSpinner;

// "Peaks": edits the store's peak-removal limit (in standard deviations) and automatic
// removal, and removes peaks from the present data. The settings live in the store only.
class FormPeaks : public QWidget
{
    Q_OBJECT

public:
    explicit FormPeaks(ClassData &data, QWidget *parent = nullptr);

    CommitLineEdit *txtValue;
    UpDownSpinner *UpDown;
    QLabel *lblLimit;
    QCheckBox *ChkAutoRemovePeaks;
    QPushButton *CommandRemovePeaks;

private:
    void onTextCommitted();

    ClassData &IData;
};
