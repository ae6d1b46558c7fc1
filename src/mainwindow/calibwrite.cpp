#include "frmveltra.h"

void frmVeltra::ComChange_Click()
{
    // written with the password gate
}

void frmVeltra::SetCalibDate()
{
}
