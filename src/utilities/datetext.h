#pragma once
// Dates from texts such as "01.01.2001", whatever the system's date format.

#include <QDateTime>

// Numbers are taken in the order day, month, year, hour, minute, second; whatever separates them
// is ignored. With timeOnly the numbers are hour, minute, second and the result is a time of day
// on the zero date 30 December 1899 (midnight when the text holds no number). Otherwise fewer
// than two numbers give 1 January 1900.
QDateTime TextToDate(const QString &text, bool timeOnly);

int DaysInMonth(int month, int year);
