# The installer, gardenlume-setup-<version>.exe in the build folder, made by
# NSIS from the programs and packs of bin/ (target "installer", outside the
# default build: tools/build-windows.sh asks for it).
find_program(GARDENLUME_MAKENSIS makensis)
if(GARDENLUME_MAKENSIS)
  set(GARDENLUME_SETUP ${CMAKE_BINARY_DIR}/gardenlume-setup-${GARDENLUME_VERSION_TEXT}.exe)
  add_custom_command(
    OUTPUT ${GARDENLUME_SETUP}
    COMMAND ${GARDENLUME_MAKENSIS} -V2 -DVERSION=${GARDENLUME_VERSION_TEXT} -DBIN=${GARDENLUME_BIN_DIR}
            -DSRC=${CMAKE_SOURCE_DIR} -DOUTFILE=${GARDENLUME_SETUP} ${CMAKE_SOURCE_DIR}/win32/gardenlume.nsi
    DEPENDS ${CMAKE_SOURCE_DIR}/win32/gardenlume.nsi ${CMAKE_SOURCE_DIR}/LICENSE
            ${CMAKE_SOURCE_DIR}/THIRD-PARTY-NOTICES.txt gardenlume_saver gardenlume_config pak art
    COMMENT "Making the installer ${GARDENLUME_SETUP}"
    VERBATIM)
  add_custom_target(installer DEPENDS ${GARDENLUME_SETUP})
endif()
