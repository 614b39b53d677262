#pragma once

#include <QWidget>

#include <array>

class ChannelView;
class CommitLineEdit;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QM4168;
class QPushButton;
class QRadioButton;
class QScrollBar;
class SetupPaging;

// "ADC Setup": the converter's settings as named controls: I/O port pins, synchronisation,
// power and RDY-pin options, data width and mode-register options, the operating mode, one
// row per input channel, and the total conversion time with the output rate. Every user
// action is written into the model's fields, only where it differs from the model; every
// change of the model comes back as a field event that updates the controls.
class FormADCSetup : public QWidget
{
    Q_OBJECT

public:
    // Geometry of the channel area in the form: the first row's top and the height below
    // the last row.
    static constexpr int FirstRowTop = 160;
    static constexpr int BottomMargin = 4;
    static constexpr int RowsX = 4;

    explicit FormADCSetup(QM4168 &model, QWidget *parent = nullptr);
    ~FormADCSetup() override;

    // Room for every channel row.
    QSize sizeHint() const override;
    ChannelView *row(int channel) const { return ChannelViews.at(channel); }
    // The row arithmetic for this window and the current variant.
    const SetupPaging &paging() const { return *m_paging; }
    // Total conversion time (µs) of the enabled channels, as last computed.
    double totalTime() const { return m_totalTime; }

    QPushButton *lblP0, *lblP1, *lblP0Dir, *lblP1Dir;
    QLabel *lblP0Name, *lblP1Name;
    QCheckBox *chkSync;
    QRadioButton *OptRdyFn0, *OptRdyFn1;
    QCheckBox *ChkRedPWR;
    QRadioButton *Opt16, *Opt24;
    QCheckBox *chkClamp, *chkDump, *chkClkDis, *chkContRd;
    QRadioButton *optIdle, *optContConv, *optStandby, *OptZSCal, *optFSCal;
    QLineEdit *txtOutUpdateHz, *TxtOutputRate;
    QLabel *LblBufOff, *LblInputSelection;
    std::array<ChannelView *, 8> ChannelViews{};
    QScrollBar *VScroll;

public Q_SLOTS:
    void IADC_P0Changed(bool value);
    void IADC_P1Changed(bool value);
    void IADC_P0DirChanged(bool value);
    void IADC_P1DirChanged(bool value);
    void IADC_RdyFnChanged(bool value);
    void IADC_DataWidthChanged(int width);
    void IADC_EnableChanged(int channel, bool value);
    void IADC_ChopChanged(int channel, bool value);
    void IADC_ConversionTimeChanged(int channel, double microseconds);
    void IADC_MdChanged(int channel, int mode);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildUpperArea();
    void buildHeadings();
    void connectModel();
    void connectRow(ChannelView *view, int channel);
    void Load();
    void UpdateOutputRate();
    void applyPaging();
    void onBox(QCheckBox *box, bool (QM4168::*get)(int) const, void (QM4168::*set)(int, bool));

    QM4168 &IADC;
    SetupPaging *m_paging;
    QButtonGroup *m_operation;
    QButtonGroup *m_rdyFn;
    QButtonGroup *m_width;
    double m_totalTime = 0.0;
};
