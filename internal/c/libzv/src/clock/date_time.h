// DATE$ and TIME$: the local date and time as text.
#pragma once

#include "string/zvs.h"

// DATE$: "MM-DD-YYYY"; TIME$: "HH:MM:SS" (24-hour), both temporaries of the local
// time. An unreadable clock is error 5 and "".
zvs* func_date();
zvs* func_time();
// DATE$ = and TIME$ = change nothing.
void sub_date(zvs* text);
void sub_time(zvs* text);
