// The debug-link SUB compiled into every program.
#pragma once

// Has the SUB shape and nothing in it: this system has no debug link to serve.
void SUB_TRAXEL();
