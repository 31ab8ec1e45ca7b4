// Runtime waits (_DELAY, _LIMIT, ...) call the statement-boundary check so that
// traps, errors and the shutdown are served while they wait. The check itself is
// compiled with each program and registered at start-up.
#pragma once

using boundary_check_fn = void (*)();
void libzv_set_boundary_check(boundary_check_fn check);  // nullptr: no check
void libzv_boundary_check();
