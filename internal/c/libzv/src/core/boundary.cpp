// The registered statement-boundary check.
#include "core/boundary.h"

#include <atomic>

namespace {
std::atomic<boundary_check_fn> check{nullptr};
}

void libzv_set_boundary_check(boundary_check_fn c) { check.store(c); }

void libzv_boundary_check() {
    if (auto c = check.load()) c();
}
