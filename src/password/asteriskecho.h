#pragma once
// Password fields show each typed character as "*", whatever the style would draw (Fusion and
// others draw a bullet).

class QLineEdit;

// Hides the field's text behind one "*" per character.
void echoAsterisks(QLineEdit *field);
