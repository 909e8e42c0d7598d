# The dialog tests start a stand-in host simulator (a program named tarnix.exe with a
# version) that shows the dialog inside the host's process. They show windows on the
# display that other programs take screenshots of.
target_link_libraries(${target} PRIVATE windowscodecs)
set(TX_AREA_PROPERTIES RESOURCE_LOCK display)

add_executable(ppdialog_tarnix_host ${dir}/host/TarnixHost.cpp ${dir}/host/TarnixVersion.rc)
target_link_libraries(ppdialog_tarnix_host PRIVATE txtestcommon windowscodecs ${TX_STATIC_LINK})
set_target_properties(ppdialog_tarnix_host PROPERTIES
  OUTPUT_NAME tarnix
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/ppdialog-host)
add_dependencies(${target} ppdialog_tarnix_host)
