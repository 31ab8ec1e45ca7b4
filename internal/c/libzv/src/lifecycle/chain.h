// CHAIN: the state file that hands the screen and the current folder to the started
// program, the hand-over tag on its command line, and the restore at its start.
// Program thread only.
#pragma once
#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct zvs;

// CHAIN target.
void sub_chain(zvs* target);
// Records 4 to 9 of the state file (the screen) at file number f's position.
void chain_savescreenstate(int32_t file_number);
// Called by the main module's prologue: restores what a CHAIN handed over.
void chain_input();
// Reads records 4 to 9 back and applies them.
void chain_restorescreenstate(int32_t file_number);

// The hand-over tag that precedes the state file's name on the command line.
constexpr std::string_view chain_tag = "(unique-tag:=/@*$+-)";

// Names derived from a CHAIN target: where the target lies (with a trailing '\',
// "" when the target names none), the command line without that folder, and the
// source file's name without it. Separators of both names are '\'.
struct chain_names {
    std::string folder, command, source;
};
chain_names chain_derive_names(std::string_view target);

// The state file's name at the end of a command line ("chain" + 3 digits +
// ".tmp", after the tag); "" when the line carries no hand-over tag.
std::string chain_tagged_file(std::string_view command_line);

// The screen records as bytes, and their reader. A source zero-fills what it
// cannot read and tells how many bytes it still holds. False when the restore ended
// at a record it could not apply, or at a screen or page larger than the bytes left:
// a short file never makes the restore allocate what it declares.
void chain_encode_screen_state(std::vector<uint8_t>& out);
struct chain_source {
    void* context;
    void (*read)(void* context, void* bytes, int64_t length);
    int64_t (*left)(void* context);
};
bool chain_decode_screen_state(const chain_source& source);

// The state file's own names ("chain" + 100..999 + ".tmp") are predictable, and the
// folders it lies in may be open to other users: nothing that already stands at such a
// name is ever opened, written, moved or deleted.
//
// Makes the state file new and private (0600, never through a link) in the current
// folder under the first free name from number `first` on, 999 wrapping to 100. The
// descriptor, with *name set to the name made; -1 with errno set otherwise (EEXIST when
// all 900 names are taken).
int chain_create_state_file(int32_t first, std::string* name);
// Opens a tagged state file for reading: only a plain file of the user's, reached
// without following a link and without waiting on a FIFO; nothing is created. The
// descriptor with *st filled, or -1 when anything else (or nothing) is there.
int chain_open_state_file(const std::string& name, struct stat* st);
// Deletes the state file by its name, only while that name still leads to the file
// described by st.
void chain_remove_state_file(const std::string& name, const struct stat& st);

// The file operations CHAIN uses; tests may replace them (nullptr: the file layer's and
// the system's).
struct chain_file_ops {
    // The screen records through a file number (chain_savescreenstate and its reader).
    void (*put)(int32_t number, const void* bytes, int64_t length);
    void (*get)(int32_t number, void* bytes, int64_t length);  // zero-fills past the end
    int64_t (*remaining)(int32_t number);                        // bytes after the position
    // The write call of the state file.
    ssize_t (*write)(int fd, const void* bytes, size_t count);
    void (*kill)(const std::string& path);  // a system path, used as it is
};
void chain_set_file_ops(const chain_file_ops* ops);
const chain_file_ops& chain_files();
