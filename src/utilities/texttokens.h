#pragma once
// Taking texts apart: words off the front of a reply line, version numbers out of version texts.

#include <QString>

// Returns the text before the first separator (not trimmed) and leaves the trimmed rest in line;
// without a separator the whole trimmed line is the token and the line becomes empty.
QString GetToken(QString &line, const QString &separator);

// The number formed by the digits and the first point of the text; 1.0 when fewer than two
// characters were collected (or hundreds of digits, beyond a double).
double ExtractNumber(const QString &text);
