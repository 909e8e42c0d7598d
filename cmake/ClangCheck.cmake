# The second compiler, as part of the build: clang++ for the same MinGW target reads every
# product source with the product's warnings as errors. Syntax and types only (nothing is
# linked); each source is read again only when it or a header it includes changes.
find_program(TX_CLANGXX clang++)
if(NOT TX_CLANGXX OR MSVC)
  message(STATUS "clang++ not found: the second compiler's pass is skipped")
  return()
endif()
# The C++ library of the MinGW posix g++, which clang does not find by itself.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -v -E -x c++ -
                INPUT_FILE /dev/null OUTPUT_QUIET ERROR_VARIABLE tx_search)
string(REGEX MATCHALL "\n [^\n]*include/c\\+\\+[^\n]*" tx_cxxdirs "${tx_search}")
set(tx_flags --target=x86_64-w64-mingw32 -std=c++17 -fsyntax-only -nostdinc++
    -Wall -Wextra -Wshadow -Werror -Wno-unknown-pragmas
    -Wno-missing-exception-spec  # STDMETHOD declares nothrow, STDMETHODIMP does not repeat it
    -D_WIN32_WINNT=0x0601 -DWINVER=0x0601 -DNOMINMAX -D_CRT_SECURE_NO_WARNINGS
    -I ${CMAKE_SOURCE_DIR} -I ${TX_GEN_DIR})
foreach(dir ${tx_cxxdirs})
  string(STRIP "${dir}" dir)
  list(APPEND tx_flags -isystem ${dir})
endforeach()
set(tx_stamps "")
foreach(folder framework support component manager diagnostics ppdialog registration)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  foreach(source ${sources})
    file(RELATIVE_PATH relative ${CMAKE_SOURCE_DIR} ${source})
    set(stamp ${CMAKE_BINARY_DIR}/clang-check/${relative}.checked)
    get_filename_component(stampdir ${stamp} DIRECTORY)
    file(MAKE_DIRECTORY ${stampdir})
    add_custom_command(OUTPUT ${stamp}
      COMMAND ${TX_CLANGXX} ${tx_flags} -MD -MF ${stamp}.d -MT ${stamp} ${source}
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${source} ${TX_GEN_DIR}/TxCOGUI.h
      DEPFILE ${stamp}.d
      COMMENT "clang++ ${relative}"
      VERBATIM)
    list(APPEND tx_stamps ${stamp})
  endforeach()
endforeach()
add_custom_target(clang_check ALL DEPENDS ${tx_stamps})
# The header comes from widl's target, never from a second run of its command here.
add_dependencies(clang_check TxCOGUI_idl)
