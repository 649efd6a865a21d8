# One place for the project's warning flags; every target calls qmvvlt_warnings().
function(qmvvlt_warnings target)
  target_compile_options(
    ${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
                      -Wno-missing-field-initializers -Wnon-virtual-dtor
  )
  if(QMVVLT_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
