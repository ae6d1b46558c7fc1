#pragma once
// The program's icon, drawn rather than shipped as a file so it scales to any size.

#include <QPixmap>

// A survey meter's face: a yellow disc with the black trefoil of the radiation sign.
QPixmap ProgramIcon(int size);
