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

# kadrix_library(<name> [FOLDER <folder>] SOURCES ... [LINKS ...] [PRIVATE_LINKS ...]):
# the static library kadrix_<name>, also known as Kadrix::<name>, built with the project's
# warnings, seeing the headers of <folder> (default <name>) and of what it links.
function(kadrix_library name)
  cmake_parse_arguments(L "" "FOLDER" "SOURCES;LINKS;PRIVATE_LINKS" ${ARGN})
  if(NOT L_FOLDER)
    set(L_FOLDER ${name})
  endif()
  add_library(kadrix_${name} STATIC ${L_SOURCES})
  add_library(Kadrix::${name} ALIAS kadrix_${name})
  kadrix_headers(kadrix_${name} ${L_FOLDER})
  kadrix_warnings(kadrix_${name})
  target_link_libraries(kadrix_${name} PUBLIC ${L_LINKS} PRIVATE ${L_PRIVATE_LINKS})
endfunction()
