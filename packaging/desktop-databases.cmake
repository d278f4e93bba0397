# The last step of `cmake --install`: rebuilds the prefix's caches through
# which a desktop finds the installed file type, the program that opens it
# and their icons. The package and a staged install (DESTDIR) skip it: there
# the caches would be packed or left in the staging tree, and the system's
# triggers rebuild its own. A missing or failing tool leaves a message, not a
# failed install: the files are in place, and the next rebuild finds them.
#   VENTRANO_INSTALL_DATADIR  the data folder, absolute or under the prefix
#   VENTRANO_PACKING          set while CPack installs into its staging tree
if(VENTRANO_PACKING OR NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
if(IS_ABSOLUTE "${VENTRANO_INSTALL_DATADIR}")
  set(ventrano_datadir "${VENTRANO_INSTALL_DATADIR}")
else()
  set(ventrano_datadir "${CMAKE_INSTALL_PREFIX}/${VENTRANO_INSTALL_DATADIR}")
endif()

function(ventrano_rebuild tool dir)
  find_program(ventrano_tool_${tool} ${tool})
  if(NOT ventrano_tool_${tool})
    message(STATUS "Not rebuilt (${tool} not found): ${dir}")
    return()
  endif()
  # The tools speak to a person at a terminal (update-mime-database notes a
  # prefix outside XDG_DATA_DIRS): shown only when they fail.
  execute_process(COMMAND ${ventrano_tool_${tool}} ${ARGN} ${dir}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(rc EQUAL 0)
    message(STATUS "Rebuilt: ${dir}")
  else()
    message(WARNING "${tool} ${dir} failed (${rc}):\n${out}")
  endif()
endfunction()

ventrano_rebuild(update-mime-database "${ventrano_datadir}/mime")
ventrano_rebuild(update-desktop-database "${ventrano_datadir}/applications")
# An icon cache hides the icons added after it was written: rebuilt where the
# prefix keeps one, never started where it has none.
if(EXISTS "${ventrano_datadir}/icons/hicolor/icon-theme.cache")
  ventrano_rebuild(gtk-update-icon-cache "${ventrano_datadir}/icons/hicolor" -q -t -f)
endif()
