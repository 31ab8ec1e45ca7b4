// The running executable's own path and folder.
#pragma once
#include <string>

// Full path of the executable ("" when it cannot be read).
std::string libzv_executable_path();
// Its folder: the path cut at the last '/', the root staying "/".
std::string libzv_executable_folder();
