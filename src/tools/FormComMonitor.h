#pragma once

#include "ComMonitorText.h"

#include <QWidget>

class QListWidget;

// "ComMonitor": the recent serial traffic, one line per frame sent or reply received.
// It keeps collecting while hidden.
class FormComMonitor : public QWidget
{
    Q_OBJECT

public:
    explicit FormComMonitor(QWidget *parent = nullptr);

    void Display(const QString &text);

    QListWidget *List1;

private:
    ComMonitorText m_text;
};
