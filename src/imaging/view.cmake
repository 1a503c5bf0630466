# The widget side of the imaging engine: the picture view bound to a table field.
add_library(kadrix_imaging STATIC
  ${CMAKE_CURRENT_LIST_DIR}/displaydecoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pdbmultiimage.cpp)
add_library(Kadrix::imaging ALIAS kadrix_imaging)
kadrix_warnings(kadrix_imaging)
target_include_directories(kadrix_imaging PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(kadrix_imaging PUBLIC Kadrix::codecs Kadrix::data Qt6::Widgets)
