target_sources(kadrix_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/opendelete.cpp
  ${CMAKE_CURRENT_LIST_DIR}/newbase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/newdatabase.cpp
  ${CMAKE_CURRENT_LIST_DIR}/opties.h
  ${CMAKE_CURRENT_LIST_DIR}/move.h)
