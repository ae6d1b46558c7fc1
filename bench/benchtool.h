#pragma once
// veltra-calib as a whole process: `read` against the paced simulator, next to the line's limit.

// Prints its table; false when a run failed.
bool printToolTable();
