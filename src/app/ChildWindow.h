#pragma once

#include <QMdiSubWindow>

// The frame of a child window of the main window. The user's close box only hides it
// (closedByUser tells the main window to refresh its View menu); the window really
// closes only when the program ends.
class ChildWindow : public QMdiSubWindow
{
    Q_OBJECT

public:
    ChildWindow(QWidget *form, bool resizable, QWidget *parent = nullptr);

    QWidget *form() const { return widget(); }
    QString formName() const { return widget()->objectName(); }
    bool isResizable() const { return m_resizable; }
    void setUnloading(bool on) { m_unloading = on; }
    // Gives a fixed-size window the size of its form plus the frame; call it once the frame
    // is in its multiple-document area.
    void fitFixedSize();

Q_SIGNALS:
    void closedByUser();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_resizable;
    bool m_unloading = false;
};
