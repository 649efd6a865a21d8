# QMVVLT_SANITIZE builds the whole tree under a sanitizer, for the test suite (at -O1, which keeps
# reports exact and compiles faster; use it with the Debug build type so asserts stay on):
#   address  AddressSanitizer with UndefinedBehaviorSanitizer (and libstdc++'s bounds checks);
#            any report ends the program, so a test cannot pass over one
#   thread   ThreadSanitizer, for the radio tests and their worker threads
set(QMVVLT_SANITIZE "" CACHE STRING "Sanitizer build: empty, address (with undefined) or thread")
set_property(CACHE QMVVLT_SANITIZE PROPERTY STRINGS "" address thread)

if(QMVVLT_SANITIZE STREQUAL "address")
  add_compile_options(
    -O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
    -D_GLIBCXX_ASSERTIONS
  )
  add_link_options(-fsanitize=address,undefined)
elseif(QMVVLT_SANITIZE STREQUAL "thread")
  add_compile_options(-O1 -fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT QMVVLT_SANITIZE STREQUAL "")
  message(FATAL_ERROR "QMVVLT_SANITIZE must be empty, address or thread, not ${QMVVLT_SANITIZE}")
endif()

# The instrumentation misleads GCC's flow analysis into false warnings (maybe-uninitialized in
# std::variant moves, among others); the plain build keeps warnings as errors.
if(NOT QMVVLT_SANITIZE STREQUAL "")
  set(QMVVLT_WERROR OFF)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
endif()
