#pragma once

class QM4168;

// Writes the converter's power-on register image into the model, every write with send
// false so that nothing goes to the board: I/O port F0h, ADC calibration 800000h, and for
// each channel of the variant the calibration, setup, conversion time and mode registers.
// The two-channel variant (2) uses channels 0 and 2; an unknown variant (0) gets only the
// global registers. Afterwards the model is in step with the chip (QM4168::setInStep).
void LoadRegisterDefaults(QM4168 &model, int variantCode);
