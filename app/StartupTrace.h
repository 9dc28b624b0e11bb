// Start-up phases timed from inside, for the benchmark that times start-up from outside. Off
// unless the environment variable TESSILOR_STARTUP_TRACE names a file: then each mark records the
// performance counter, which is system-wide, so the benchmark can set it beside the moment it
// created the process; StartupTraceWrite puts the marks into that file, one "counter phase" a line.
#pragma once

void StartupMark(const char* phase);
void StartupTraceWrite();
