#pragma once

#include "StartupOptions.h"

#include <QMainWindow>

struct AppContext;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;

// The multiple-document main window. Its load handler performs the start-up: command
// line, chip variant, child windows, settings and the power-on register image.
class FormMain : public QMainWindow
{
    Q_OBJECT

public:
    FormMain(AppContext &context, const StartupOptions &options, QWidget *parent = nullptr);

    // The load handler. Shows the variant dialog when the command line names no variant.
    void Load();

    QMdiArea *mdiArea() const { return m_mdiArea; }
    QLabel *BrdStatus() const { return m_brdStatus; }
    void setBrdStatus(const QString &text);

    QMenu *MnuFile;
    QAction *MnuFileExit;
    QMenu *MnuHelp;

private:
    void selectVariant();

    AppContext &m_context;
    StartupOptions m_options;
    QMdiArea *m_mdiArea;
    QLabel *m_brdStatus;
};
