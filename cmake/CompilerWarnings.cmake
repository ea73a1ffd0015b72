# Warnings on everywhere, for MinGW g++ and Linux g++ alike.
function(quillon_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4)
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra)
  endif()
endfunction()
