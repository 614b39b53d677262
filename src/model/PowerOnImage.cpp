#include "PowerOnImage.h"

#include "QM4168.h"

void LoadRegisterDefaults(QM4168 &model, int variantCode)
{
    int last = variantCode - 1;
    int step = 1;
    if (variantCode == 2) {
        last = 2;
        step = 2;
    } else if (variantCode == 9) {
        last = 7;
    }

    model.setRegister(0x01, false, 0xF0);
    model.setRegister(0x06, false, 0x800000);
    model.setRegister(0x07, false, 0x800000);
    for (int c = 0; c <= last; c += step) {
        model.setRegister(0x10 + c, false, 0x800000);
        model.setRegister(0x18 + c, false, 0x200000);
        model.setRegister(0x28 + c, false, 0x00);
        model.setRegister(0x30 + c, false, 0x91);
        model.setRegister(0x38 + c, false, 0x00);
    }
    // A converter just powered up holds this image: nothing is pending.
    model.setInStep();
}
