// BASIC strings: the zvs descriptor, the string heap, assignment, concatenation and temporaries.
//
// Every BASIC string value travels as a zvs*. A string is a counted run of bytes (any byte
// value, no terminator). Four kinds exist:
//   heap string        zvs_new            text on the string heap, length may change
//   data-block string  (conventional memory module)  text in the emulated data block
//   fixed-length       zvs_new_fixed      views the variable's own bytes, length never changes
//   read-only wrapper  zvs_new_txt[_len]  views constant text (never heap text), not copied
// A plain temporary (temporary, not fixed-length, not read-only, not in the data block) owns
// heap text that nobody else refers to; the string functions edit such a string in place.
//
// Ownership: runtime calls that build a string from a string argument consume a temporary
// argument (release it, or edit it in place and return it); calls that only read their
// arguments leave temporaries to the statement-end release. A string-valued call may return
// one of its arguments unchanged, even a variable's own descriptor: callers only read results
// and never free one that may be an argument.
//
// Text pointers move: never keep zvs.text across a call that may make, assign or join strings
// (zvs_new, zvs_add, zvs_set, any string function); read it again through the descriptor.
//
// Statement shape expected of translated code:
//   uint32_t mark = zvs_tmp_list_nexti();   // when the main module, a SUB or a FUNCTION starts
//   ... statement that makes temporaries ...
//   zvs_tmp_release_to(mark, 0);            // after that statement
// Nothing here tests new_error: releases still happen while an error is pending.
// Program thread only (and main before other threads exist); no locks.
#pragma once
#include <cstdint>

struct zvs {
    uint8_t* text;                   // first byte; not owned for fixed-length and read-only strings
    int32_t length;                  // number of bytes
    uint8_t in_data_block;           // 1: text lives in the data block of conventional memory
    uint8_t* data_block_descriptor;  // the string's 4-byte descriptor in the data block, or null
    uint16_t data_block_offset;      // that descriptor's offset within the data block
    int32_t list_slot;               // index in the heap-string list (or the data-block list)
    uint8_t temporary;               // 1 while the string is a temporary
    int32_t temp_slot;               // index in the temporary list; 0: not registered
    uint8_t fixed_length;            // 1: fixed-length string
    uint8_t read_only;               // 1: read-only wrapper of constant text
    void* field_link;                // FIELD descriptor tying the string to a record buffer, or null
};

// Where a string's text lives, derived from its flags.
enum class zvs_storage : uint8_t { heap, data_block, fixed, read_only };
inline zvs_storage zvs_storage_of(const zvs* s) {
    if (s->fixed_length) return zvs_storage::fixed;
    if (s->read_only) return zvs_storage::read_only;
    if (s->in_data_block) return zvs_storage::data_block;
    return zvs_storage::heap;
}
// A temporary with heap text of its own: string functions may edit it in place.
inline bool zvs_plain_temporary(const zvs* s) { return s->temporary && zvs_storage_of(s) == zvs_storage::heap; }

// Allocates the first descriptor block, the free-descriptor stack, the heap-string list, the
// temporary list and the 1 MiB string heap. Called once from main before any string is made.
void zvs_global_init();

// A new heap string of length bytes, left unset for the caller to fill. Followed by 32 spare
// bytes that belong to no string (formatters may write a terminating zero there).
// temporary 1 registers it as a temporary. A negative length counts as 0.
zvs* zvs_new(int32_t length, uint8_t temporary);
// A read-only temporary wrapping NUL-terminated constant text (null: empty), not copied.
zvs* zvs_new_txt(const char* text);
// A read-only temporary wrapping length bytes of constant text, not copied.
zvs* zvs_new_txt_len(const void* text, int32_t length);
// A fixed-length string viewing the variable's bytes. temporary 1 registers it and nothing
// else; temporary 0 lets the data-block module give it a data-block descriptor when the bytes
// lie in the data block.
zvs* zvs_new_fixed(void* bytes, uint32_t length, uint8_t temporary);

// Registers an existing string as a temporary (a FUNCTION handing back a local string as its
// result). A string that is already registered is left alone.
void zvs_maketmp(zvs* s);

// dest = src. A temporary src is consumed: its text is taken over when dest is of the same
// storage, otherwise it is copied and released. A fixed-length dest keeps its length (padded
// with spaces or cut). Returns dest.
zvs* zvs_set(zvs* dest, zvs* src);
// a + b. When one side is empty the other is returned itself (nothing released). Otherwise a
// new temporary; temporary operands are released (once, when both are the same temporary).
// A result longer than 2,147,483,647 bytes is fatal error 512.
zvs* zvs_add(zvs* a, zvs* b);
// Releases a string: its heap or data-block text (fixed-length and read-only strings own no
// text), its temporary registration, its FIELD link, and the descriptor. Null is ignored.
void zvs_free(zvs* s);

// The next free slot of the temporary list: the mark that a module, SUB or FUNCTION takes.
uint32_t zvs_tmp_list_nexti();
// Releases every temporary registered at or above mark, newest first, and returns value.
int32_t zvs_tmp_release_to(uint32_t mark, int32_t value);
