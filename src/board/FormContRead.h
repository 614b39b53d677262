#pragma once

#include "CaptureSeries.h"
#include "ContReadResult.h"

#include <QDialog>

#include <optional>

class BoardLink;
class CaptureSet;
class ClassData;
class CommitLineEdit;
class LiveTimePlot;
class QLabel;
class QM4168;
class QProgressBar;
class QPushButton;
class QSpinBox;

// "Continuous Read Mode": the samples per channel, Start and Cancel, and the acquisition's
// phase and progress, with the time plot of each enabled channel beside them. Start runs the
// acquisition (BoardLink::BrdContRead) and closes the dialog when it returns; Cancel during
// the acquisition ends it (the link goes to Escape), otherwise closes the dialog. The amount
// is the program's ContReadAmount, kept between openings. "Captures" runs that many
// acquisitions one after another (CaptureSeries) into the capture set given with
// setCaptures; Cancel ends the series, keeping the captures completed.
class FormContRead : public QDialog
{
    Q_OBJECT

public:
    FormContRead(QM4168 &model, ClassData &store, BoardLink &link, int &amount, QWidget *parent = nullptr);

    // The outcome of the acquisition started here; nothing before Start.
    std::optional<ContReadResult> result() const { return m_result; }
    // The series' set and the program's capture count (kept between openings); without them
    // the dialog takes one capture.
    void setCaptures(CaptureSet &captures, int &count);
    bool acquiring() const { return m_acquiring; }

    // Labels and limits for the enabled channels (see ContReadCounts).
    void RefreshCounts();

    QPushButton *CommandStart;
    QPushButton *CommandCancel;
    CommitLineEdit *TextContReadAmount;
    QSpinBox *UpDownContReadAmount;
    QLabel *LabelCaptures;
    QSpinBox *SpinCaptures;
    QLabel *LabelCapture; // "Capture 2 of 5" while a series runs
    QLabel *LabelSamples;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *LabelStatus;
    QProgressBar *ProgressTransfer;
    QLabel *LabelProgress;
    LiveTimePlot *PlotLive; // the channels' time plots while the records arrive

public Q_SLOTS:
    // Cancel, Escape and the close box: during the acquisition they end it, else they close.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CommandStart_Click();
    void amountEntered();
    void showAmount();
    void onProgress(int received, int total, qint64 elapsedMs);

    QM4168 &IADC;
    ClassData &IData;
    BoardLink &m_link;
    int &m_amount;
    CaptureSet *m_captures = nullptr;
    int *m_captureCount = nullptr;
    CaptureSeries m_series;
    bool m_acquiring = false;
    std::optional<ContReadResult> m_result;
};
