#pragma once

#include <QWidget>

#include <memory>

class BoardLink;
class ClassData;
class HistoryRecorder;
class LoggerRun;
class PlotView;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QM4168;
class QPushButton;
class QSpinBox;
class UserDialogs;

// "Logger": a logger run from the program. Start repeats the acquisition every interval
// with the set-up the model holds, each capture recorded in the history as one run
// (LoggerRun); the plot shows the trend of the chosen channel's mean code, mean voltage or
// RMS noise against time and grows with every capture; its menu exports PNG, PDF and CSV.
class FormLogger : public QWidget
{
    Q_OBJECT

public:
    FormLogger(QM4168 &model, ClassData &store, BoardLink &link, HistoryRecorder &recorder,
               UserDialogs &dialogs, QWidget *parent = nullptr);
    ~FormLogger() override;

    void start();
    void stop();
    LoggerRun *run() const { return m_run.get(); }

    QDoubleSpinBox *SpinInterval;
    QSpinBox *SpinSamples;
    QSpinBox *SpinCount; // 0: until stopped
    QComboBox *ComboChannel;
    QComboBox *ComboQuantity;
    QPushButton *CommandStart;
    QPushButton *CommandStop;
    QLabel *LabelStatus;
    PlotView *Plot;

private:
    void redraw();
    void showState();

    QM4168 &m_model;
    ClassData &m_store;
    BoardLink &m_link;
    HistoryRecorder &m_recorder;
    UserDialogs &m_dialogs;
    std::unique_ptr<LoggerRun> m_run;
};
