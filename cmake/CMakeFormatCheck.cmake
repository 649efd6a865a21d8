# Fails when any CMake file of the project is not laid out as .cmake-format.py says.
file(GLOB_RECURSE lists RELATIVE ${ROOT} ${ROOT}/CMakeLists.txt ${ROOT}/*.cmake)
set(files)
foreach(path IN LISTS lists)
  # Build trees (build, build-asan, ...) hold CMake's own generated files.
  if(NOT path MATCHES "^build")
    list(APPEND files ${ROOT}/${path})
  endif()
endforeach()
execute_process(
  COMMAND ${CMAKE_FORMAT} --check -c ${ROOT}/.cmake-format.py -- ${files}
  RESULT_VARIABLE rc
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake-format differences:\n${out}${err}")
endif()
