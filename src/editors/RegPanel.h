#pragma once

#include "RegValue.h"

#include <QWidget>

#include <array>

class BitCell;
class CommitLineEdit;
class QLabel;
class QPushButton;

// One register as one row of the register window: name, address, "RD" and "WR", the value
// in hexadecimal, and either its eight bits or its value in decimal. It knows neither the
// model nor the board: it holds a value, lets the user change it and reports edits and
// button presses. Setting a property never raises an event.
class RegPanel : public QWidget
{
    Q_OBJECT

public:
    // The row's fixed size and the left edges of its columns, shared with RegHeading.
    static constexpr int RowWidth = 625;
    static constexpr int RowHeight = 25;
    static constexpr int NameX = 2;
    static constexpr int AddrX = 100;
    static constexpr int ButtonsX = 128;
    static constexpr int HexX = 185;
    static constexpr int BitsX = 241;
    static constexpr int BitWidth = 48;

    explicit RegPanel(QWidget *parent = nullptr);

    qint32 RegValue() const { return m_value.value(); }
    void setRegValue(qint32 value);
    int RegAddress() const { return m_address; }
    void setRegAddress(int address);
    int RegType() const { return m_value.type(); }
    void setRegType(int code);
    bool ButtonRead() const { return m_buttonRead; }
    void setButtonRead(bool on);
    bool ButtonWrite() const { return m_buttonWrite; }
    void setButtonWrite(bool on);
    QString RegName() const;
    void setRegName(const QString &name);
    QString BitName(int bit) const;
    void setBitName(int bit, const QString &name);

    // Marks the row (bold name) as holding a value the chip did not power up with.
    void setMarked(bool on);
    bool isMarked() const { return m_marked; }
    // Marks the row (amber value boxes) as holding a value the chip has not been given.
    void setPending(bool on);
    bool isPending() const { return m_pending; }

    QLabel *LabelName;
    QLabel *LabelAddr;
    QPushButton *CommandRd;
    QPushButton *CommandWr;
    CommitLineEdit *TextValueHex;
    QLabel *LabelH;
    std::array<BitCell *, 8> LabelBit{};
    CommitLineEdit *TextValueDec;

Q_SIGNALS:
    void RegEdited();
    void RegRead();
    void RegWrite();
    // An entry that is not a number of the box was refused; the value did not change.
    void RegRefused(const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void ShowValue();
    void ValueEdited();
    void onBitClicked(int bit);
    void onWrite();
    void applyType();

    ::RegValue m_value;
    int m_address = -1;
    bool m_buttonRead = true;
    bool m_buttonWrite = true;
    bool m_marked = false;
    bool m_pending = false;
};
