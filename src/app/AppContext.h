#pragma once

#include "data/CaptureSet.h"
#include "data/ClassData.h"
#include "model/QM4168.h"

// The process-wide objects and values that start-up creates and every window shares.
struct AppContext
{
    QM4168 IADC;
    ClassData IData;
    int VariantCode = 0;
    int ContReadAmount = 100;
    // The latest series of captures and how many the continuous-read dialog takes.
    CaptureSet Captures;
    int CaptureCount = 1;
};
