# The picture commands' windows and helpers, built into the program's window library.
target_sources(kadrix_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/openfilekinds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/previewloader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/picturepreview.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mmopendialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/import.cpp
  ${CMAKE_CURRENT_LIST_DIR}/scanning.cpp)
