#pragma once
// What the window and the port dialog show of the link's outcomes: the box of a failed transfer
// and the question after a parity error. Both go through ui(), so tests answer them.

#include <QString>

class Link;
enum class ParityDecision;

// Beeps and shows which command failed and what to check (the cable or Bluetooth, after the
// link's connection type), titled with the instrument's model name. details go behind
// "Show Details...", such as why the port did not open.
void ShowTransferError(const Link &link, const QString &command,
                       const QString &details = QString());

// The decision the window installs on its link: OK lets the transfer fail, Cancel ignores the
// parity error.
ParityDecision askParityError();
