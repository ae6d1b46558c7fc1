#pragma once
// The texts on labels and certificates are translated with the program's language under one
// context, LabelText::tr: the lab issues them in the language it works in. The QR code's keys and
// the PDF files' names stay as they are.

#include <QCoreApplication>

class LabelText
{
    Q_DECLARE_TR_FUNCTIONS(LabelText)
};
