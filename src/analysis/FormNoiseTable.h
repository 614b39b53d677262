#pragma once

#include "data/NoiseRow.h"

#include <QList>
#include <QWidget>

class BoardLink;
class NoisePlot;
class NoiseSweep;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QM4168;
class SettingsStore;
class UserDialogs;

// The "Noise Table" window: the settings of a noise sweep, Start and Cancel with progress,
// the table growing row by row, the plot of RMS noise against output data rate, and export
// of the table (CSV, markdown) and the plot (PNG, PDF). The sweep itself is NoiseSweep's.
// Ranges are given by the setup window's names, timing as filter words or conversion
// times (NoiseInputs); with a settings store the inputs of the last start come back.
class FormNoiseTable : public QWidget
{
    Q_OBJECT

public:
    FormNoiseTable(QM4168 &model, BoardLink &link, UserDialogs &dialogs, SettingsStore *settings = nullptr,
                   QWidget *parent = nullptr);
    ~FormNoiseTable() override;

    QList<NoiseRow> rows() const { return m_rows; }
    // Starts the sweep with the settings shown; returns when it has ended.
    void start();
    void cancel();
    // "CSV", "Markdown", "PNG" or "PDF", to a file chosen through the dialogs.
    void exportTo(const QString &format);

private:
    void addRow(const NoiseRow &row);
    void setRunning(bool running);
    void restoreInputs();
    void saveInputs();

    QM4168 &m_model;
    BoardLink &m_link;
    UserDialogs &m_dialogs;
    SettingsStore *m_settings;
    NoiseSweep *m_sweep;
    QList<NoiseRow> m_rows;

    QSpinBox *SpinChannel;
    QLineEdit *TxtFilterWords;
    QComboBox *CmbChop;
    QLineEdit *TxtRanges;
    QSpinBox *SpinSamples;
    QPushButton *CmdStart;
    QPushButton *CmdCancel;
    QProgressBar *Progress;
    QLabel *LblStatus;
    QTableWidget *Table;
    NoisePlot *Plot;
};
