#pragma once

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class CommitLineEdit;
class QM4168;
class UpDownSpinner;

// One input channel as one row of the setup window: name and enable, input range, buffer,
// input selection, the per-channel operations, chopping, conversion time with a spinner,
// and the latest result with the status flags. It keeps no copy of the model: the owner
// pushes values in, and every user action comes out as an event the owner turns into a
// model change. The model is read only for the texts of the range list.
class ChannelView : public QWidget
{
    Q_OBJECT

public:
    // The row's size and the left edges of its columns, shared with the window's headings.
    static constexpr int RowWidth = 657;
    static constexpr int RowHeight = 26;
    static constexpr int NameX = 2;
    static constexpr int EnableX = 28;
    static constexpr int RangesX = 44;
    static constexpr int BufferX = 124;
    static constexpr int InputX = 144;
    static constexpr int ZsX = 256;
    static constexpr int FsX = 278;
    static constexpr int SingleX = 312;
    static constexpr int ChopX = 364;
    static constexpr int TimeX = 384;
    static constexpr int DataX = 478;
    static constexpr int StatusX = 540;

    ChannelView(const QM4168 &model, int variant, QWidget *parent = nullptr);

    int ChannelNumber() const { return m_channel; }
    void setChannelNumber(int channel);
    void setRegData(qint32 data);
    void setRdy(bool on);
    void setNoRef(bool on);
    void setOvr(bool on);
    void setUndr(bool on);
    void setBuf(bool on);
    void setCom(int com);
    void setEnable(bool on);
    void setRng(int code);
    void setChop(bool on);
    double ConversionTime() const;
    void setConversionTime(double microseconds);
    // 2 single conversion, 6 zero-scale, 7 full-scale calibration; other values clear all three.
    void setMd(int mode);

    QLabel *LblChannelName;
    QCheckBox *ChkEnable;
    QComboBox *CmbRanges;
    QCheckBox *ChkBuffered;
    QComboBox *CmbInput;
    QRadioButton *optZsCalibration;
    QRadioButton *optFsCalibration;
    QRadioButton *optSingleConv;
    QCheckBox *ChkChop;
    CommitLineEdit *TxtConvTime;
    QLabel *txtus;
    UpDownSpinner *updConvTime;
    QWidget *PicData;
    QLabel *TxtData;
    QLabel *lblRdy;
    QLabel *LblNoRef;
    QLabel *LblOverRange;
    QLabel *lblUnderRange;

Q_SIGNALS:
    void BufEdited(bool value);
    void ComEdited(int com);
    void EnableEdited(bool value);
    void RngEdited(int rng);
    void ConvTimeEdited(double microseconds);
    void ChopEdited(bool value);
    void ConvTimeUp();
    void ConvTimeDown();
    void MdEdited(int mode);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // Up and Down in the time box step the time as the spinner's arrows do.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildChannelLists();
    void showFlag(QLabel *flag, bool on);
    void onSpinner(int step);

    const QM4168 &m_model;
    int m_variant;
    int m_channel = -1;
    QButtonGroup *m_operations;
};
