#pragma once
// The program's icon: the same drawing as the icon the install puts into the desktop's icon theme
// (dist/), so the window, the task bar and the applications menu show one picture.

#include <QPixmap>

// A survey meter with a calendar tick, drawn from the SVG at the given size.
QPixmap programIcon(int size);
