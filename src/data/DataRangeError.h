#pragma once

#include <stdexcept>

// Thrown by the sample store for a request it cannot serve: a channel outside 0..7 (or
// -1 where that is allowed), a sample index outside 1..count, a record shorter than one
// sample, a data width other than 0..3, or a data word beyond the words the store holds.
// The store is left exactly as it was before the call.
class DataRangeError : public std::out_of_range
{
public:
    explicit DataRangeError(const std::string &what);
};
