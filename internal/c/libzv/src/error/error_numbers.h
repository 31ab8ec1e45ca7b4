// The dialect's error numbers by name. Programs see the numbers (ERR, ON ERROR,
// ERROR n), so these values are fixed; error_code_message holds their texts.
#pragma once

#include <cstdint>

// Errors a program can trap.
inline constexpr int32_t ERR_NEXT_WITHOUT_FOR = 1;
inline constexpr int32_t ERR_SYNTAX = 2;
inline constexpr int32_t ERR_RETURN_WITHOUT_GOSUB = 3;
inline constexpr int32_t ERR_OUT_OF_DATA = 4;
inline constexpr int32_t ERR_ILLEGAL_FUNCTION_CALL = 5;
inline constexpr int32_t ERR_OVERFLOW = 6;
inline constexpr int32_t ERR_OUT_OF_MEMORY = 7;
inline constexpr int32_t ERR_LABEL_NOT_DEFINED = 8;
inline constexpr int32_t ERR_SUBSCRIPT_OUT_OF_RANGE = 9;
inline constexpr int32_t ERR_DUPLICATE_DEFINITION = 10;
inline constexpr int32_t ERR_DIVISION_BY_ZERO = 11;  // always fatal
inline constexpr int32_t ERR_ILLEGAL_IN_DIRECT_MODE = 12;
inline constexpr int32_t ERR_TYPE_MISMATCH = 13;
inline constexpr int32_t ERR_OUT_OF_STRING_SPACE = 14;
inline constexpr int32_t ERR_STRING_FORMULA_TOO_COMPLEX = 16;
inline constexpr int32_t ERR_CANNOT_CONTINUE = 17;
inline constexpr int32_t ERR_FUNCTION_NOT_DEFINED = 18;
inline constexpr int32_t ERR_NO_RESUME = 19;
inline constexpr int32_t ERR_RESUME_WITHOUT_ERROR = 20;
inline constexpr int32_t ERR_DEVICE_TIMEOUT = 24;
inline constexpr int32_t ERR_DEVICE_FAULT = 25;
inline constexpr int32_t ERR_FOR_WITHOUT_NEXT = 26;
inline constexpr int32_t ERR_OUT_OF_PAPER = 27;
inline constexpr int32_t ERR_WHILE_WITHOUT_WEND = 29;
inline constexpr int32_t ERR_WEND_WITHOUT_WHILE = 30;
inline constexpr int32_t ERR_DUPLICATE_LABEL = 33;
inline constexpr int32_t ERR_SUBPROGRAM_NOT_DEFINED = 35;
inline constexpr int32_t ERR_ARGUMENT_COUNT_MISMATCH = 37;
inline constexpr int32_t ERR_ARRAY_NOT_DEFINED = 38;
inline constexpr int32_t ERR_VARIABLE_REQUIRED = 40;
inline constexpr int32_t ERR_FIELD_OVERFLOW = 50;
inline constexpr int32_t ERR_INTERNAL = 51;
inline constexpr int32_t ERR_BAD_FILE_NAME_OR_NUMBER = 52;
inline constexpr int32_t ERR_FILE_NOT_FOUND = 53;
inline constexpr int32_t ERR_BAD_FILE_MODE = 54;
inline constexpr int32_t ERR_FILE_ALREADY_OPEN = 55;
inline constexpr int32_t ERR_FIELD_STATEMENT_ACTIVE = 56;
inline constexpr int32_t ERR_DEVICE_IO = 57;
inline constexpr int32_t ERR_FILE_ALREADY_EXISTS = 58;
inline constexpr int32_t ERR_BAD_RECORD_LENGTH = 59;
inline constexpr int32_t ERR_DISK_FULL = 61;
inline constexpr int32_t ERR_INPUT_PAST_END = 62;
inline constexpr int32_t ERR_BAD_RECORD_NUMBER = 63;
inline constexpr int32_t ERR_BAD_FILE_NAME = 64;
inline constexpr int32_t ERR_TOO_MANY_FILES = 67;
inline constexpr int32_t ERR_DEVICE_UNAVAILABLE = 68;
inline constexpr int32_t ERR_COMMUNICATION_BUFFER_OVERFLOW = 69;
inline constexpr int32_t ERR_PERMISSION_DENIED = 70;
inline constexpr int32_t ERR_DISK_NOT_READY = 71;
inline constexpr int32_t ERR_DISK_MEDIA = 72;
inline constexpr int32_t ERR_FEATURE_UNAVAILABLE = 73;
inline constexpr int32_t ERR_RENAME_ACROSS_DISKS = 74;
inline constexpr int32_t ERR_PATH_FILE_ACCESS = 75;
inline constexpr int32_t ERR_PATH_NOT_FOUND = 76;

inline constexpr int32_t ERR_INVALID_HANDLE = 258;

// _MEM errors.
inline constexpr int32_t ERR_MEM_OUT_OF_RANGE = 300;
inline constexpr int32_t ERR_MEM_INVALID_SIZE = 301;
inline constexpr int32_t ERR_MEM_SOURCE_OUT_OF_RANGE = 302;
inline constexpr int32_t ERR_MEM_DEST_OUT_OF_RANGE = 303;
inline constexpr int32_t ERR_MEM_BOTH_OUT_OF_RANGE = 304;
inline constexpr int32_t ERR_MEM_SOURCE_FREED = 305;
inline constexpr int32_t ERR_MEM_DEST_FREED = 306;
inline constexpr int32_t ERR_MEM_ALREADY_FREED = 307;
inline constexpr int32_t ERR_MEM_FREED = 308;
inline constexpr int32_t ERR_MEM_NOT_INITIALIZED = 309;
inline constexpr int32_t ERR_MEM_SOURCE_NOT_INITIALIZED = 310;
inline constexpr int32_t ERR_MEM_DEST_NOT_INITIALIZED = 311;
inline constexpr int32_t ERR_MEM_BOTH_NOT_INITIALIZED = 312;
inline constexpr int32_t ERR_MEM_BOTH_FREED = 313;
inline constexpr int32_t ERR_ASSERT_FAILED = 314;
inline constexpr int32_t ERR_ASSERT_FAILED_SEE_CONSOLE = 315;

// Fatal: the box, then the process ends.
inline constexpr int32_t ERR_OUT_OF_STACK = 256;
inline constexpr int32_t ERR_OUT_OF_MEMORY_FATAL = 257;
inline constexpr int32_t ERR_NO_DYNAMIC_LIBRARY = 259;
inline constexpr int32_t ERR_NO_DYNAMIC_SUB = 260;
inline constexpr int32_t ERR_NO_DYNAMIC_FUNCTION = 261;
inline constexpr int32_t ERR_GL_OUTSIDE_SUB_GL = 270;
inline constexpr int32_t ERR_END_INSIDE_SUB_GL = 271;

// Fatal "Out of memory" with the place it ran out in ("Critical Error #2" to "#18").
inline constexpr int32_t ERR_OOM_IMAGE_TABLE = 502;
inline constexpr int32_t ERR_OOM_IMAGE_FREE_STACK = 503;
inline constexpr int32_t ERR_OOM_STATIC_ARENA = 504;
inline constexpr int32_t ERR_OOM_CMEM_BLOCK_TOO_BIG = 505;
inline constexpr int32_t ERR_OOM_CMEM_DYNAMIC_SPACE = 506;
inline constexpr int32_t ERR_OOM_CMEM_LINKS = 507;
inline constexpr int32_t ERR_OOM_STRING_DESCRIPTORS = 508;
inline constexpr int32_t ERR_OOM_CMEM_STRING = 509;
inline constexpr int32_t ERR_OOM_STRING_HEAP_BLOCK = 510;
inline constexpr int32_t ERR_OOM_STRING_TEMPORARIES = 511;
inline constexpr int32_t ERR_OOM_STRING_HEAP = 512;
inline constexpr int32_t ERR_OOM_CMEM_STRING_SPACE = 513;
inline constexpr int32_t ERR_OOM_INPUT_START_COPY = 516;
inline constexpr int32_t ERR_OOM_INPUT_SCRATCH_COPY = 517;
inline constexpr int32_t ERR_OOM_MEMGET_BUFFER = 518;
