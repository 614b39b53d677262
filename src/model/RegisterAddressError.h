#pragma once

#include <QString>

#include <stdexcept>

// Thrown by the device model for a register address it has no cache cell for. The
// operation that met it is abandoned before anything was decoded or stored.
class RegisterAddressError : public std::runtime_error
{
public:
    // The first application-defined error number: raised for addresses above 3Fh.
    static constexpr quint32 AddressTooHigh = 0x80040000u;
    // "Subscript out of range": a negative address.
    static constexpr quint32 SubscriptOutOfRange = 9;

    explicit RegisterAddressError(int address);

    int address() const { return m_address; }
    quint32 number() const { return m_number; }

private:
    int m_address;
    quint32 m_number;
};
