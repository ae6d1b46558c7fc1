#pragma once
// veltra-calib as a whole process: `read` against the paced simulator, next to the line's limit,
// and how soon `watch` ends on SIGINT while it polls an empty adapter.

// Prints its table; false when a run failed.
bool printToolTable();
