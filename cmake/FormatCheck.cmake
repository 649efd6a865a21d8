# Fails when any C++ source of the project is not formatted as .clang-format says.
file(
  GLOB_RECURSE
  sources
  ${ROOT}/src/*.cpp
  ${ROOT}/src/*.h
  ${ROOT}/src/*.def
  ${ROOT}/tests/*.cpp
  ${ROOT}/tests/*.h
  ${ROOT}/bench/*.cpp
  ${ROOT}/fuzz/*.cpp
  ${ROOT}/tools/*.cpp
  ${ROOT}/tools/*.h
)
execute_process(
  COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources} RESULT_VARIABLE rc ERROR_VARIABLE err
)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "clang-format differences:\n${err}")
endif()
