#pragma once

#include <QByteArray>
#include <QList>

class SimConverter;

// The evaluation board's firmware as the PC sees it: executes one command line and returns
// the reply line(s) ("[" text CR LF).
//
//   X                 board reset; answers "X ..." (reset notice) and resets the converter
//   R                 SRAM test; answers "R ..."
//   D hhhh            DAC code (12 bits); answers "D hhhh" with the code set
//   L hhhh            LED (0000 on, 00FF off); answers "L hhhh"
//   S hh hh ...       SPI frame to the converter; answers "S " and the bytes clocked back
//   C 38 mm 48 uu nnnn  continuous read: mode value mm is written, then nnnn transfer units
//                     of uu bytes follow as records (see SimBoard); answers "[C hhhh" CR
//
// Anything else gets an error line "E ..." so the PC is not left waiting.
class SimFirmware
{
public:
    static constexpr int MaxStreamBytes = 32768; // the board's SRAM

    explicit SimFirmware(SimConverter &converter);

    // Reply to one command line (without "[" and CR). A continuous-read request leaves its
    // byte count in streamRequest().
    QByteArray execute(const QByteArray &line, bool overflowed);

    // Bytes announced by the last continuous-read request (0: none to send).
    int streamRequest() const { return m_streamRequest; }

    int dacCode() const { return m_dac; }
    int led() const { return m_led; }
    bool ledOn() const { return m_led == 0; }
    int boardResets() const { return m_boardResets; }

    static QByteArray line(const QByteArray &text) { return '[' + text + "\r\n"; }
    // The continuous-read answer: "[C " and four hexadecimal digits, CR; exactly 8 bytes.
    static QByteArray streamHeader(int bytes);

private:
    QByteArray spi(const QList<QByteArray> &fields);
    QByteArray continuousRead(const QList<QByteArray> &fields);

    SimConverter &m_converter;
    int m_dac = 0;
    int m_led = 0xFF;
    int m_boardResets = 0;
    int m_streamRequest = 0;
};
