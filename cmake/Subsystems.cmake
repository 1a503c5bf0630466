# Each folder under src/ is one library, and a library sees the headers of the libraries it
# links and its own, never those of the folders above it: its include root holds one link,
# named for its folder, so "data/ttable.h" resolves only for what links the data library.
function(kadrix_headers target folder)
  set(root ${PROJECT_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${root})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
