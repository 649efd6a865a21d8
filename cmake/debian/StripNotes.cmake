# Run by CPack on the staged tree before the package is made: CMake's strip keeps the compiler's
# .comment and .note sections, which Debian's own packaging drops from the programs.
file(GLOB programs LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*")
foreach(program IN LISTS programs)
  execute_process(
    COMMAND "${CPACK_QMVVLT_STRIP}" --remove-section=.comment --remove-section=.note "${program}"
            COMMAND_ERROR_IS_FATAL ANY
  )
endforeach()
