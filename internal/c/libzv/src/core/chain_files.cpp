// The file statements behind CHAIN's state file.
#include "core/chain.h"
#include "error/error.h"

namespace {
// Until the file layer is linked in, the state file cannot be opened.
const chain_file_ops file_layer{[] { return int32_t(1); },
                                [](const std::string&, int32_t) { error(75); },
                                [](int32_t, const void*, int64_t) {},
                                [](int32_t, void*, int64_t) {},
                                [](int32_t) {},
                                [](const std::string&) {}};
const chain_file_ops* current = &file_layer;
}  // namespace

void chain_set_file_ops(const chain_file_ops* ops) { current = ops ? ops : &file_layer; }
const chain_file_ops& chain_files() { return *current; }
