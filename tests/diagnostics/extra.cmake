# The probe creates the registered samples; one probe test at a time beside the
# Component Manager's registry tests.
set(TX_AREA_PROPERTIES RESOURCE_LOCK manager_registry)
# A server that is found but refuses to make its object.
add_library(tx_refusing_server SHARED ${dir}/helpers/RefusingServer.cpp ${dir}/helpers/RefusingServer.def)
set_target_properties(tx_refusing_server PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/manager-helpers)
target_link_libraries(tx_refusing_server PRIVATE ole32 uuid ${TX_STATIC_LINK})
add_dependencies(${target} tx_refusing_server)
