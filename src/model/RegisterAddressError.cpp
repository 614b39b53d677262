#include "RegisterAddressError.h"

#include <string>

RegisterAddressError::RegisterAddressError(int address)
    : std::runtime_error("register address " + std::to_string(address) + " has no cache cell")
    , m_address(address)
    , m_number(address < 0 ? SubscriptOutOfRange : AddressTooHigh)
{
}
