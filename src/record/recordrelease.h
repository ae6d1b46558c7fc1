#pragma once
// The release of a verified calibration by a second person: the evidence that someone other
// than the technician looked at the entry and let its certificate go out. A release is a row of
// its own table and a link of the record's chain (recordchain.h); it is never changed or
// removed, and an entry is released at most once.
//
// Who may release what is decided here, so the tool and the window refuse alike.

#include "recordentry.h"

// The person who releases: the account (compared with the entry's, so no one releases their
// own work) and the name the record keeps, as for a technician.
struct Releaser
{
    QString account;
    QString name;

    // The account that runs the program.
    static Releaser thisAccount();
};

// Why by may not release entry, in a sentence for the user; empty when they may.
QString releaseRefusal(const RecordEntry &entry, const Releaser &by);

// "Released by NAME on DATE", or "not released", as the certificate and the window say it.
QString releaseText(const RecordEntry &entry);
