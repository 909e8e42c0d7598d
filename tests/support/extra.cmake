# Host-detection probes: one program built as "tarnix.exe" with a version resource whose
# FileVersion is 5.1, as "tarnix.exe" without one (another folder), as "sketchr.exe"
# without one, and under a name no host uses. The tests start them with a copy of the
# product DLL and read what they saw from a result file.
set(TX_PROBE_SOURCE ${dir}/helpers/HostProbe.cpp)
foreach(probe tarnix_v51 tarnix_plain sketchr_plain other_name)
  set(probe_target support_probe_${probe})
  set(probe_sources ${TX_PROBE_SOURCE})
  if(probe STREQUAL "tarnix_v51")
    list(APPEND probe_sources ${dir}/helpers/TarnixVersion.rc)
  endif()
  if(probe MATCHES "^tarnix")
    set(probe_name tarnix)
  elseif(probe MATCHES "^sketchr")
    set(probe_name sketchr)
  else()
    set(probe_name hostprobe)
  endif()
  add_executable(${probe_target} ${probe_sources})
  target_link_libraries(${probe_target} PRIVATE txtestcommon ${TX_STATIC_LINK})
  set_target_properties(${probe_target} PROPERTIES
    OUTPUT_NAME ${probe_name}
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/support-probes/${probe})
  add_dependencies(${target} ${probe_target})
endforeach()
