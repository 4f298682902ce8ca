// output_windows_install.h - the ui layer's half of the output layer's
// window hooks (output/output_windows.h).
#pragma once

// Fills OutputWindows from the shell and puts the preview's device into
// the output device table.
void OutputWindowEntriesInstall();
// The above, the job-queue window's rules and what batch runs show while
// they run. At start-up, after RepOutputInit.
void OutputWindowsInstall();
