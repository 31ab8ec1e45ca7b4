// The pause handshake between statements that replace screen pages (SCREEN, WIDTH,
// _FONT) and the frame producer, which must not read a page while it is freed.
#pragma once
#include <atomic>
#include <cstdint>

// 0 idle, 1 requested by a screen-changing statement, 2 granted by the producer.
// The requester writes 0 -> 1 and 2 -> 0, the producer 1 -> 2.
extern std::atomic<int32_t> lock_display;
// Set by start-up once the program thread runs: a SCREEN before that never waits.
extern std::atomic<int32_t> lock_display_required;

// Frame producer, at the start and at the end of every call: grants a pending
// request and yields once. True when it granted one.
bool lock_display_grant();
// Frame producer: true while a screen change is under way (requested or granted);
// the producer then converts nothing.
bool lock_display_busy();

// Requester side. A pause is taken only while autodisplay and lock_display_required
// are both set.
enum class display_pause {
    not_needed,  // nothing to release
    held,        // the producer is parked between frames until lock_display_resume
    stopping,    // the program is stopping: the request is withdrawn, change nothing
};
// Requests the pause and waits for the grant, yielding between polls; the wait also
// ends when stop_program is set.
display_pause lock_display_pause();
// Ends a held pause (writes 0); does nothing otherwise.
void lock_display_resume(display_pause pause);

// Puts both words back to 0 (tests).
void lock_display_reset_for_tests();
