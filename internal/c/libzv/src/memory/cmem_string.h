// Data-block strings: BASIC strings whose text lies in the emulated data block
// (segment 0x50) with a 4-byte descriptor there that programs can read through
// PEEK: length (low 16 bits), then the text's offset in the block, little-endian.
// Texts grow up from offset 256, descriptors down from cmem_sp. Program thread only.
#pragma once
#include <cstdint>

#include "string/zvs.h"

// The runtime's own data-block strings, made at start-up: empty, and one space.
extern zvs* nothingstring;
extern zvs* singlespace;

// Allocates the data-block string list and hands the data-block side of the string
// operations to the string system. Start-up, after the string system's own start.
void zvs_cmem_global_init();
// Makes nothingstring and singlespace; after cmem_global_init.
void zvs_cmem_make_runtime_strings();

// A new data-block string of length bytes (left unset). A temporary gets no descriptor.
zvs* zvs_new_cmem(int32_t length, uint8_t temporary);
// Places s's text at the text end and registers it (list, temporary or descriptor).
void zvs_create_cmem(int32_t length, uint8_t temporary, zvs* s);
// A fixed-length string whose bytes lie in the data block gets a descriptor.
void zvs_new_fixed_cmem(uint8_t* bytes, uint32_t length, uint8_t flag, zvs* s);
// Takes s out of the list; its text returns at the next compaction.
void zvs_remove_cmem(zvs* s);
// Hand-over of a data-block temporary src to dest: dest takes src's place in the list.
void zvs_move_cmem(zvs* dest, zvs* src);
// Assignment of a longer src to dest: in place when it fits, else new text at the end.
void zvs_copy_cmem(zvs* dest, zvs* src);
// Rewrites s's descriptor (if it has one) after its length or text changed.
void zvs_write_descriptor_cmem(zvs* s);
// Compacts the texts and checks that extra more bytes fit (fatal error 513 when
// not); returns the text end plus extra.
int32_t zvs_concat_cmem(uint32_t extra);
// Drops the released slots of the list (and grows it when it stays over half full).
void zvs_cmem_concat_list();

// Offset of the first free byte after the texts.
int32_t zvs_cmem_sp();
