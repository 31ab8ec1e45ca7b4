// Start-up helpers of main.
#pragma once

// A thread the runtime cannot live without did not start: fatal.
[[noreturn]] void startup_thread_failed();
// Starts function(nullptr) on a thread that runs until the process ends, named so
// that top -H and ps -L tell the runtime's threads apart.
void startup_start_thread(void (*function)(void*), const char* name);
