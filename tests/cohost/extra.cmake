# The tool's tests run cohost.exe and parse its JSON with the tool's own reader.
add_dependencies(${target} cohost)
target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tools/cohost/Json.cpp)
target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tools)
# Each row runs cohost.exe: the rows run in three groups, not a test program each.
set(TX_AREA_GROUPS Commands "Commands/*" Usage "Usage/*" ShapesAndScripts "ListShapes/*:Scripts/*")
