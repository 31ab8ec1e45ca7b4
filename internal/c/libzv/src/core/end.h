// The program thread's final parking place.
#pragma once

// Parks the program thread for good: reports it parked (exit_ok bit 0), then
// sleeps while the housekeeping thread ends the process.
[[noreturn]] void end();

// Tests replace the park after the report; nullptr restores the endless sleep.
void end_set_park_hook(void (*park)());
