# The Component Manager's tests write classes into the registry (in categories that no
# sample uses) and may read the product's TxCOGUI.ini: one test of them at a time.
set(TX_AREA_PROPERTIES RESOURCE_LOCK "manager_registry;tracefolder")

# A stand-in for the web browser application (an in-process COM server), which the
# Vendor URL and Component Help tests register under the browser's class.
add_library(tx_fake_browser SHARED ${dir}/browser/FakeBrowser.cpp ${dir}/browser/FakeBrowser.def)
set_target_properties(tx_fake_browser PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/manager-helpers)
target_link_libraries(tx_fake_browser PRIVATE ole32 oleaut32 uuid ${TX_STATIC_LINK})
add_dependencies(${target} tx_fake_browser)
target_sources(${target} PRIVATE ${dir}/browser/BrowserDouble.cpp)
target_include_directories(${target} PRIVATE ${dir})

# The screenshot of the README: a program of its own, since it needs the screen to itself.
set(screenshot_target test_manager_screenshot)
add_executable(${screenshot_target} ${dir}/screenshot/ScreenshotTest.cpp ${dir}/ManagerTestSupport.cpp
               ${CMAKE_SOURCE_DIR}/resources/TxCOGUI.rc)
target_link_libraries(${screenshot_target} PRIVATE txtestcommon GTest::gtest_main windowscodecs ${TX_STATIC_LINK})
add_dependencies(${screenshot_target} TxCOGUI)
gtest_discover_tests(${screenshot_target}
  DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
  TEST_PREFIX "manager."
  PROPERTIES FIXTURES_REQUIRED registered TIMEOUT 120 RESOURCE_LOCK "display;manager_registry;tracefolder")
