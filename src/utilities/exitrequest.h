#pragma once
// A request to end the program that came from outside (a signal). The signal handler notes it
// here, which is all a handler may safely do; the link reads it before every byte it would send,
// so a request that arrives while a wait blocks without processing events still keeps the rest
// of the transfer off the line.

void noteExitRequest() noexcept;
bool exitRequested() noexcept;
