// Memory locks from pool blocks that never move; released locks are reused first.
#include "memory/mem_lock.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr int64_t mem_lock_max = 10000;        // records per pool block
constexpr int64_t first_mem_lock_id = 0x40000000;

mem_lock* pool = nullptr;  // current pool block; full blocks stay allocated
int64_t pool_used = 0;
std::vector<mem_lock*>* freed = nullptr;
int64_t mem_lock_id = first_mem_lock_id - 1;  // incremented before use
mem_lock* mem_lock_tmp = nullptr;
mem_lock base_lock{0, MEM_LOCK_PLAIN, nullptr};

}  // namespace

void mem_lock_global_init() {
    if (pool) return;
    pool = static_cast<mem_lock*>(calloc(mem_lock_max, sizeof(mem_lock)));
    freed = new std::vector<mem_lock*>;
    freed->reserve(1000);
}

mem_lock* new_mem_lock() {
    mem_lock_global_init();
    mem_lock* lock;
    if (!freed->empty()) {
        lock = freed->back();
        freed->pop_back();
    } else {
        if (pool_used == mem_lock_max) {
            pool = static_cast<mem_lock*>(calloc(mem_lock_max, sizeof(mem_lock)));
            pool_used = 0;
        }
        lock = &pool[pool_used++];
    }
    lock->id = ++mem_lock_id;
    lock->type = MEM_LOCK_PLAIN;
    lock->offset = nullptr;
    mem_lock_tmp = lock;
    return lock;
}

void free_mem_lock(mem_lock* lock) {
    if (lock == &base_lock) return;
    lock->id = 0;
    if (lock->type == MEM_LOCK_MEMNEW) {
        free(lock->offset);
        lock->offset = nullptr;
    }
    freed->push_back(lock);
}

mem_lock* mem_lock_last() { return mem_lock_tmp; }

mem_lock* mem_lock_base() { return &base_lock; }

void mem_lock_reset_for_tests() {
    mem_lock_global_init();
    freed->clear();
    pool_used = 0;
    mem_lock_id = first_mem_lock_id - 1;
    mem_lock_tmp = nullptr;
}
