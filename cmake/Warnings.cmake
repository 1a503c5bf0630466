# Warnings on for every target of the project; third-party headers are system includes.
function(kadrix_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                           -Wold-style-cast -Wcast-align -Woverloaded-virtual
                                           -Wconversion -Wno-sign-conversion)
endfunction()
