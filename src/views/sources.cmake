target_sources(kadrix_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/categoryfilter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/labels.h
  ${CMAKE_CURRENT_LIST_DIR}/help.h
  ${CMAKE_CURRENT_LIST_DIR}/about.h
  ${CMAKE_CURRENT_LIST_DIR}/Thumb.h
  ${CMAKE_CURRENT_LIST_DIR}/fullscreen.h)
