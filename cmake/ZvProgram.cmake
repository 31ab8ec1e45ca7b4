# add_zv_program(NAME SOURCES src... [CONSOLE] [HIDDEN] [ASSERTS])
# Builds a translated program: its sources, main(), the per-program support code and libzv.
# The options become the program descriptor's compiled-in switches. A program's include
# path is internal/c/zvx and the library headers that zv.h reaches.
function(add_zv_program NAME)
  cmake_parse_arguments(ZV "CONSOLE;HIDDEN;ASSERTS" "" "SOURCES" ${ARGN})
  add_executable(${NAME} ${ZV_SOURCES} $<TARGET_OBJECTS:zv_main>)
  target_compile_definitions(${NAME} PRIVATE
    ZV_OPT_CONSOLE=$<BOOL:${ZV_CONSOLE}>
    ZV_OPT_HIDDEN=$<BOOL:${ZV_HIDDEN}>
    ZV_OPT_ASSERTS=$<BOOL:${ZV_ASSERTS}>)
  target_link_libraries(${NAME} PRIVATE zvx)
endfunction()
