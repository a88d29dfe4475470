# SPDX-License-Identifier: MIT
# The project's own targets build with strict warnings that fail the build;
# third-party headers come in as system includes and are not affected.
function(testcard_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  # GCC 12 reports a false -Wrestrict in std::string's operator+ at -O2
  # (GCC bug 105651); it is not about our code.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
