#pragma once
// The label and the certificate of a verified entry, from the windows. The label goes to the
// print queue of [Label] Printer; when none is set, the print dialog chooses a queue or a PDF
// file. The certificate goes to a PDF file chosen in a save dialog. Dialogs and boxes go through
// ui(), so tests answer them.

#include "recordentry.h"

class QWidget;

enum class AskPrinter { WhenNoneSet, Never };

struct LabelPrint
{
    bool sent = false;
    // What became of the label, for a status line; empty when the user cancelled.
    QString text;
};

// Prints the label of a verified entry. With AskPrinter::Never and no printer set nothing is
// printed, and the text says so.
LabelPrint printEntryLabel(const RecordEntry &entry, AskPrinter ask, QWidget *parent);

// Asks for a file and writes the certificate of a verified entry into it, issued today; a file
// that cannot be written is shown in a box. False when nothing was written.
bool saveEntryCertificate(const RecordEntry &entry, QWidget *parent);
