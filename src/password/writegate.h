#pragma once
// Who may write calibration dates: the one gate that the window and veltra-calib ask.
//
// The access password is asked once per run. Until the gate has been passed, check() reads the
// password file anew (a file changed on disk counts from the next check on). A file without a
// password passes the gate at once; a right password passes it through answer(); a wrong one
// leaves it closed, so the next write asks again. A file that cannot be read keeps it closed.

#include "passwordstore.h"

class WriteGate
{
public:
    enum class Step {
        Passed, // passed earlier in this run: nothing to ask
        NoPassword, // no password is set: passed now
        AskPassword, // a password is set: ask for it and call answer()
        FileError, // the password file cannot be read: the write must not go ahead
    };
    struct Check
    {
        Step step = Step::Passed;
        // Why the file could not be read (FileError).
        PasswordFileResult file;
    };

    // What a write must do before it goes ahead.
    Check check();
    // The typed text against the password the last check() found; the right one passes the
    // gate for the rest of the run.
    bool answer(const QString &typed);
    bool passed() const { return m_passed; }

private:
    bool m_passed = false;
    PasswordStore m_store;
};
