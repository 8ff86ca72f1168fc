# Run by `cmake --install` and cpack: /etc/gardenlume/cfg (<prefix>/etc/...
# under another prefix than /usr) and the installation folder's link "cfg"
# to it. Settings already there stay byte for byte; a "cfg" an earlier
# install left in the folder moves there; else config.exe writes the
# desktop row, as the Windows installer has it do. Set before:
# gardenlume_config (config.exe), gardenlume_install_folder (lib/gardenlume),
# gardenlume_scratch (a folder for its registry file).
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  set(etc /etc/gardenlume)
else()
  set(etc "${CMAKE_INSTALL_PREFIX}/etc/gardenlume")
endif()
set(settings "$ENV{DESTDIR}${etc}")
set(link "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${gardenlume_install_folder}/cfg")

if(NOT EXISTS "${settings}/cfg")
  file(MAKE_DIRECTORY "${settings}")
  if(EXISTS "${link}" AND NOT IS_SYMLINK "${link}")
    file(RENAME "${link}" "${settings}/cfg")
  else()
    # config.exe finds its folder through the registry stand-in.
    set(registry "${gardenlume_scratch}/first-cfg.reg")
    file(WRITE "${registry}" "Windows Registry Editor Version 5.00\n\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Korvanta\\Gardenlume\\Settings]\n"
      "\"Path\"=\"${settings}/\"\n")
    execute_process(COMMAND "${CMAKE_COMMAND}" -E env --unset=DISPLAY "GARDENLUME_REGISTRY=${registry}"
      "${gardenlume_config}" --reset --mode desktop
      OUTPUT_QUIET RESULT_VARIABLE written)
    if(NOT written EQUAL 0)
      message(FATAL_ERROR "config.exe could not write ${settings}/cfg")
    endif()
  endif()
  message(STATUS "Installing: ${settings}/cfg")
endif()
file(CREATE_LINK "${etc}/cfg" "${link}" SYMBOLIC)
message(STATUS "Installing: ${link} -> ${etc}/cfg")
