# The widget side of the imaging engine: the picture view bound to a table field, printing and
# scanning.
add_library(kadrix_imaging STATIC
  ${CMAKE_CURRENT_LIST_DIR}/displaydecoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pdbmultiimage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picturecache.cpp
  ${CMAKE_CURRENT_LIST_DIR}/prefetcher.cpp
  ${CMAKE_CURRENT_LIST_DIR}/printing.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scanner.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scanning/pictureassembler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scanning/sanedevice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scanning/sanesession.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scanning/scanoptions.cpp)
add_library(Kadrix::imaging ALIAS kadrix_imaging)
kadrix_warnings(kadrix_imaging)
kadrix_headers(kadrix_imaging imaging)
target_link_libraries(kadrix_imaging PUBLIC Kadrix::codecs Kadrix::data Qt6::Widgets Qt6::PrintSupport)

# Scanning goes through SANE; its headers stay inside the library.
pkg_check_modules(Sane REQUIRED IMPORTED_TARGET sane-backends)
target_link_libraries(kadrix_imaging PRIVATE PkgConfig::Sane)
