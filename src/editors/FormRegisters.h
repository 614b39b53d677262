#pragma once

#include "PowerOnValues.h"

#include <QMap>
#include <QWidget>

#include <array>

class BoardLink;
class QButtonGroup;
class QGroupBox;
class QM4168;
class QPushButton;
class QScrollArea;
class QScrollBar;
class RegHeading;
class RegPanel;
class UserDialogs;

// "Registers": every register of the converter as one row, the global registers and then
// the per-channel registers of the selected channel, with channel buttons below. Edits go
// into the model (sent to the chip when "Auto Write Registers" is checked); "RD" and "WR"
// become user requests of the board link. Rows that differ from the power-on value are
// drawn with a bold name; rows holding a value the chip has not been given (pending) show
// their value on amber.
class FormRegisters : public QWidget
{
    Q_OBJECT

public:
    // Builds the rows from the register table and loads: channel buttons for the variant,
    // the table's widths and values into the model, bit names by variant and test mode.
    // A hexadecimal entry that is not one is refused with a box through dialogs (none: silently).
    FormRegisters(QM4168 &model, BoardLink &link, UserDialogs *dialogs = nullptr, QWidget *parent = nullptr);

    // The rows by the base address of their register (00h .. 07h, 08h, 10h, .. 38h).
    RegPanel *panel(int index) const { return Panels.value(index); }
    // Every row and the channel buttons, without a scroll bar.
    QSize sizeHint() const override;

    RegHeading *Heading;
    QMap<int, RegPanel *> Panels;
    std::array<QPushButton *, 8> ButtonChannel{};
    QGroupBox *FrameChannel;
    QScrollArea *ListArea;
    QScrollBar *VscrRegisters;

public Q_SLOTS:
    void IADC_ChannelChanged(int channel);
    void IADC_RegisterChanged(int address, qint32 value, int channel);
    void IADC_DataWidthChanged(int width);
    void IADC_StatOptChanged(int channel, bool value);
    void IADC_PendingChanged(int address, bool pending);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void Load();
    void nameBitsByVariant();
    void onRegEdited(RegPanel *panel);
    void onRegRead(RegPanel *panel);
    void onRegWrite(RegPanel *panel);
    void showValue(RegPanel *panel, qint32 value);
    void updateMark(RegPanel *panel);
    int listHeight() const;

    QM4168 &IADC;
    BoardLink &m_link;
    UserDialogs *m_dialogs;
    PowerOnValues m_powerOn;
    QButtonGroup *m_channelGroup;
    QWidget *m_list;
};
