// WIDTH: the text geometry of the write image, and WIDTH LPRINT. Program thread only.
#pragma once
#include <cstdint>

// WIDTH [columns][, rows] on device 0 (passed bits 1 columns, 2 rows; on the console
// image buffer columns and rows follow), WIDTH LPRINT columns on device 2. Returns
// at once while an error is pending.
void zvsub_width(int32_t device, int32_t columns, int32_t rows, int32_t buffer_columns, int32_t buffer_rows,
                 int32_t passed);

// WIDTH columns, rows without the pending-error test: LOCATE's switch to 80 x 50.
void width_columns_rows(int32_t columns, int32_t rows);
// WIDTH 80, 25: RUN's reset.
void width_80_25();
