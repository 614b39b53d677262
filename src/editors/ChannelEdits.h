#pragma once

#include <QString>

class QM4168;

// The setup window's rules for the entries of a channel row, without the row: a field is
// given to the model (which sends it to the board) only when the entry differs from the
// model's value, and the channel is then selected. The setup window and scripts use them.
namespace ChannelEdits {

void setEnable(QM4168 &model, int channel, bool on);
void setRange(QM4168 &model, int channel, int rangeCode);
void setChop(QM4168 &model, int channel, bool on);
// The filter word (low seven bits of the conversion-time register), chop kept as it is.
void setFilterWord(QM4168 &model, int channel, int filterWord);
// An entry that comes out at the filter word already held (the time shown, or a time
// between two steps) writes nothing and returns false; the channel is selected either way.
bool setConversionTime(QM4168 &model, int channel, double microseconds);

// "±1.25 V": the range list's text of the code, without the blank after the sign.
QString rangeText(const QM4168 &model, int rangeCode);
// The range code whose list text is text, blanks aside; -1 when no entry reads so.
int rangeCodeOfText(const QM4168 &model, const QString &text);

} // namespace ChannelEdits
