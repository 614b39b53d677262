#include "PowerOnValues.h"

#include "model/PowerOnImage.h"
#include "model/QM4168.h"
#include "model/RegisterDesign.h"

PowerOnValues::PowerOnValues(int variant)
{
    QM4168 model;
    model.setEvBoard(variant);
    RegisterDesign::applyTo(model);
    LoadRegisterDefaults(model, variant);
    for (int address = 0; address < QM4168::CacheCells; ++address)
        m_values[address] = model.Register(address);
}

qint32 PowerOnValues::value(int address) const
{
    return m_values.at(qBound(0, address, QM4168::CacheCells - 1));
}
