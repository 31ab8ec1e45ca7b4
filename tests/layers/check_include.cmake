# Compiles a source that includes HEADER with only the include roots ROOTS ('|'
# between them) and checks the outcome: EXPECTED "found" (it compiles) or "missing"
# (the compiler cannot find that header; any other failure fails the check).
string(REPLACE "|" ";" roots "${ROOTS}")
file(MAKE_DIRECTORY "${WORK}")
file(WRITE "${WORK}/scratch.cpp" "#include \"${HEADER}\"\nint main() { return 0; }\n")
set(flags "")
foreach(root IN LISTS roots)
  list(APPEND flags "-I${root}")
endforeach()
execute_process(
  COMMAND "${CXX}" -std=c++20 -fsyntax-only ${flags} "${WORK}/scratch.cpp"
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(EXPECTED STREQUAL "found")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${HEADER} should compile from ${ROOTS}:\n${out}")
  endif()
elseif(EXPECTED STREQUAL "missing")
  if(result EQUAL 0)
    message(FATAL_ERROR "${HEADER} was found from ${ROOTS}: a lower layer sees a higher one")
  endif()
  string(REGEX REPLACE "([.+])" "\\\\\\1" pattern "${HEADER}")
  if(NOT out MATCHES "${pattern}('|:)? *(No such file|file not found)")
    message(FATAL_ERROR "${HEADER} from ${ROOTS} failed for another reason than a missing header:\n${out}")
  endif()
else()
  message(FATAL_ERROR "EXPECTED is found or missing, not '${EXPECTED}'")
endif()
