#pragma once

// Ends the run at once after a failed consistency check: standard error shows
// the condition, the source file and the line, then "Abnormal program
// termination"; the exit status is 3.
[[noreturn]] void stopOnFailedCheck(const char *condition, const char *sourceFile, int line);

// Ends the run at once with "Abnormal program termination" and exit status 3.
[[noreturn]] void stopAbnormally();

// Makes every allocation that cannot be met end the run like stopAbnormally.
void installOutOfMemoryStop();
