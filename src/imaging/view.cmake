# The widget side of the imaging engine: the picture view bound to a table field with its
# display transitions, the effects window, printing and scanning.
kadrix_library(imaging
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/displaydecoder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/transition.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effects/effect.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effects/magickeffect.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effects/parallelrows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effects/imageeffects.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effects/deformationeffects.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effects/correctioneffects.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effects/effectrunner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effects/picturecanvas.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effects/settingspanel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/effects/effectswindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pdbmultiimage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/picturecache.cpp
    ${CMAKE_CURRENT_LIST_DIR}/prefetcher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/printing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scanner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/thumbnaildecoder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scanning/pictureassembler.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scanning/sanedevice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scanning/sanesession.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scanning/scanoptions.cpp
  LINKS Kadrix::codecs Kadrix::data Qt6::Widgets Qt6::PrintSupport)

# Scanning goes through SANE; its headers stay inside the library.
pkg_check_modules(Sane REQUIRED IMPORTED_TARGET sane-backends)
target_link_libraries(kadrix_imaging PRIVATE PkgConfig::Sane)

# The effects run through ImageMagick; its headers stay inside the library.
target_link_libraries(kadrix_imaging PRIVATE PkgConfig::MagickPlusPlus)
