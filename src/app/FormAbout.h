#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: the software's name and version.
class FormAbout : public QDialog
{
    Q_OBJECT

public:
    explicit FormAbout(QWidget *parent = nullptr);

    QLabel *picIcon;
    QLabel *lblTitle;
    QLabel *lblVersion;
    QPushButton *cmdOK;

protected:
    void showEvent(QShowEvent *event) override;
};
