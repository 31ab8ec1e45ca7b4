// The one road from a runtime path to the operating system's: programs write '\' or
// '/', the system sees '/'. Always on a copy; the runtime's own text is not touched.
#pragma once
#include <string>
#include <string_view>

// The system's form of a path. False (out untouched) when the text holds a zero byte:
// the system would read a shorter name and act on another file.
bool libzv_os_path(std::string_view path, std::string* out);

// As libzv_os_path, for opens and existence queries: a last part of "NUL" (any case,
// with or without an extension) names the null device. KILL and NAME use libzv_os_path, so they never act on the device node.
bool libzv_os_path_device(std::string_view path, std::string* out);

// A leading drive ("C:", any letter) names a drive that does not exist here.
bool libzv_path_has_drive(std::string_view path);
