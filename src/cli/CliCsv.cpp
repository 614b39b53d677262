#include "CliCsv.h"

namespace CliCsv {

QString number(double value)
{
    // QString::number ignores the locale: always a point, never group separators.
    return QString::number(value, 'g', 17);
}

QString number(qint64 value)
{
    return QString::number(value);
}

} // namespace CliCsv
