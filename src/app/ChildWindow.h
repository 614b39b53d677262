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
    // Gives the frame the size of its form as designed (a fixed-size window: as its layout
    // needs) plus the frame's own title bar and borders; call it once the frame is in its
    // multiple-document area.
    void fitDesignedSize();
    // setPlaced(false): the window has no place of its own yet (nothing stored), so the
    // first time it is shown it finds a free place beside the visible windows instead of
    // piling up in the area's corner.
    void setPlaced(bool placed) { m_placed = placed; }
    bool isPlaced() const { return m_placed; }

Q_SIGNALS:
    void closedByUser();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool m_resizable;
    QSize m_designedSize;
    bool m_unloading = false;
    bool m_placed = true;
};
