#pragma once

#include <QStringList>
#include <QVector>

class QM4168;

// The lists of one channel row of the setup window, by chip variant (2, 4, 8, 9): which
// range code each entry of the range list stands for, the entry texts, the inputs a channel
// can select, and whether the list of inputs and the buffer box are there to use. Variant
// codes other than these give empty lists.
namespace ChannelLists {

// Range codes in list order: 4, 5, 0, 1, 2, 3 for variants 8 and 9 (the widest range
// first), 0 .. 3 for variants 2 and 4.
QVector<int> rangeCodes(int variant);
// "± 1.25 V" / "+ 10 V": the sign of the range's polarity, the span in the user's number
// format, " V"; one text per entry of rangeCodes, read from the model now.
QStringList rangeTexts(const QM4168 &model, int variant);
// The list entry that shows range code, -1 when no entry does.
int rangeEntry(int variant, int code);
// The range code of list entry, -1 for an entry that does not exist.
int rangeCode(int variant, int entry);

// Input selection texts of channel: two selectable entries for variants 8 and 9 (against
// AinCOM, then the differential pair), one fixed entry for variants 2 and 4.
QStringList inputTexts(int variant, int channel);
bool inputsLocked(int variant);
bool hasBuffer(int variant);
// The Com code of input entry (0 or 3) and the entry of a Com code (-1 for other codes).
int comOfEntry(int entry);
int entryOfCom(int com);

} // namespace ChannelLists
