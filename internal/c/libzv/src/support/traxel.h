// The handle of the debug link.
#pragma once
#include <cstdint>

// The debug-link connection handle; -1 when free for the link.
int32_t traxelHandle();
// A positive handle becomes -1.
void unlocktraxelHandle();
// Sets the handle (the network statements own the link); tests.
void traxel_set_handle(int32_t handle);
void traxel_reset_for_tests();
