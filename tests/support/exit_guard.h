// The exit code of a unit-test binary whose test was ended by an exit it did not expect
// (see test_main.cpp). No passing run and no runtime exit uses it.
#pragma once

constexpr int zv_test_unexpected_exit_code = 125;
