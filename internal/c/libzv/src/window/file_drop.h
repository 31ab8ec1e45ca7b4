// Dropped files: the drop that custom event 4 hands over, _ACCEPTFILEDROP,
// _TOTALDROPPEDFILES, _DROPPEDFILE$ and _FINISHDROP. The drop state has a mutex of
// its own (the window thread stores drops while the program thread reads them).
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

struct zvs;

// The names of one drop, as the X layer collected them.
struct drop_list {
    std::vector<std::string> names;
};

constexpr size_t dropped_name_max = 4095;  // longer names cannot be fetched

// -1 while the window accepts dropped files, 0 not (the X layer asks at each drop).
extern std::atomic<int32_t> acceptFileDrop;

// The local file paths of a text/uri-list: lines end at CR LF (or LF), '#' lines
// are comments, file:// URIs with an empty or "localhost" host are kept and
// percent-decoded, everything else is skipped.
std::vector<std::string> file_paths_from_uri_list(const std::string& list);

// Custom event 4 (window thread): a previous drop with files pending is finished,
// then this one is pending. Takes ownership of the list.
void file_drop_receive(drop_list* list);

// _ACCEPTFILEDROP: mode 0 or 1 on, 2 off; nothing without a window.
void sub__filedrop(int32_t mode);
int32_t func__filedrop();
int32_t func__totaldroppedfiles();
void sub__finishdrop();
// _DROPPEDFILE$[(n)]: the next name, or name n; "" past the end or with no drop
// pending. Reading the last name without n finishes the drop. passed bit 0: n given.
zvs* func__droppedfile(int32_t n, int32_t passed);

void file_drop_reset_for_tests();
