#pragma once

#include "ComMonitorText.h"

#include <QWidget>

class QListWidget;

// "ComMonitor": the recent serial traffic, one line per frame sent or reply received.
// It keeps collecting while hidden. Its designed size shows all the lines it holds, and
// the list follows the newest line.
class FormComMonitor : public QWidget
{
    Q_OBJECT

public:
    explicit FormComMonitor(QWidget *parent = nullptr);

    void Display(const QString &text);

    QListWidget *List1;

protected:
    // Shown again after collecting while hidden, the list starts at its newest line.
    void showEvent(QShowEvent *event) override;

private:
    ComMonitorText m_text;
};
