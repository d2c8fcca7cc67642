# Warnings are on for our code everywhere. They stop the build where the
# project scripts and CI build (they set VLM_WERROR); a plain configure with
# cmake's defaults reports them and goes on, so a newcomer's first build never
# fails on a warning a new compiler adds.
option(VLM_WERROR "Treat warnings in our code as errors (the project scripts turn this on)" OFF)

function(vlm_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-missing-field-initializers)
  if(VLM_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
    # GCC 12 reports overlapping copies inside libstdc++'s string code at -O3
    # that cannot happen (GCC bug 105651): they stay warnings.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 12
       AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-error=restrict)
    endif()
  endif()
endfunction()
