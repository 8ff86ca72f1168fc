# Windows resources of the programs: a version resource for each, and for
# the saver its icon and a manifest that declares it DPI-aware, so that a
# scaled desktop gives it the screen's real resolution.
enable_language(RC)
set(GARDENLUME_VERSION_COMMA 1,0,0,0)
set(GARDENLUME_VERSION_TEXT 1.0.0)
set(GARDENLUME_HOST_TOOLS "" CACHE PATH "Folder of artgen and pak built for the build machine")

# The saver's icon: a butterfly wing of our own packs, scaled by ImageMagick.
find_program(GARDENLUME_CONVERT convert)
set(GARDENLUME_ICON ${CMAKE_BINARY_DIR}/win32/gardenlume.ico)
add_custom_command(
  OUTPUT ${GARDENLUME_ICON}
  COMMAND ${GARDENLUME_HOST_TOOLS}/pak extract ${GARDENLUME_BIN_DIR}/butterfly1.pak
          ${CMAKE_BINARY_DIR}/win32/icon_art_
  COMMAND sh ${CMAKE_SOURCE_DIR}/win32/make_icon.sh ${GARDENLUME_CONVERT}
          ${CMAKE_BINARY_DIR}/win32/icon_art___wing.png ${GARDENLUME_ICON}
  DEPENDS ${GARDENLUME_BIN_DIR}/butterfly1.pak ${CMAKE_SOURCE_DIR}/win32/make_icon.sh
  COMMENT "Making the saver's icon"
  VERBATIM)

# gardenlume_resources(target file_name description [SAVER|DPI_AWARE])
# SAVER: the icon, the manifest and the name; DPI_AWARE: the manifest alone
# (config.exe names the primary monitor's size in real pixels).
function(gardenlume_resources target file_name description)
  set(GARDENLUME_RC_FILE ${file_name})
  set(GARDENLUME_RC_DESCRIPTION ${description})
  set(GARDENLUME_RC_EXTRA "")
  if(ARGN STREQUAL "DPI_AWARE")
    set(GARDENLUME_RC_EXTRA
"CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"${CMAKE_SOURCE_DIR}/win32/gardenlume.manifest\"")
  endif()
  if(ARGN STREQUAL "SAVER")
    set(GARDENLUME_RC_EXTRA
"1 ICON \"${GARDENLUME_ICON}\"
CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"${CMAKE_SOURCE_DIR}/win32/gardenlume.manifest\"
// The Screen Saver Settings list shows string 1, else the bare file name.
STRINGTABLE
BEGIN
  1 \"Gardenlume\"
END")
  endif()
  set(rc ${CMAKE_BINARY_DIR}/win32/${target}.rc)
  configure_file(${CMAKE_SOURCE_DIR}/win32/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  if(ARGN STREQUAL "SAVER")
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS
      "${GARDENLUME_ICON};${CMAKE_SOURCE_DIR}/win32/gardenlume.manifest")
  elseif(ARGN STREQUAL "DPI_AWARE")
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/win32/gardenlume.manifest")
  endif()
endfunction()
