# The dialog tests take screenshots of the whole screen and run the dialog inside a
# program named tarnix.exe, the host simulator's name.
target_link_libraries(${target} PRIVATE windowscodecs)
set(TX_AREA_PROPERTIES RESOURCE_LOCK display)
