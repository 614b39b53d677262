#include "DataRangeError.h"

DataRangeError::DataRangeError(const std::string &what)
    : std::out_of_range(what)
{
}
