# tx_widl(<idl> <name>): type library <name>.tlb, header <name>.h and IIDs <name>_i.c in TX_GEN_DIR.
find_program(TX_WIDL NAMES x86_64-w64-mingw32-widl widl REQUIRED)
set(TX_WINE_IDL_DIR /usr/include/wine/wine/windows CACHE PATH "System IDL files for widl")
set(TX_WINE_TLB_DIR /usr/lib/x86_64-linux-gnu/wine/x86_64-windows CACHE PATH "Folder of stdole2.tlb")

function(tx_widl idl name)
  file(MAKE_DIRECTORY ${TX_GEN_DIR})
  get_filename_component(src ${idl} ABSOLUTE)
  get_filename_component(srcdir ${src} DIRECTORY)
  set(args -m64 -I ${TX_WINE_IDL_DIR} -I ${srcdir} -I ${CMAKE_SOURCE_DIR}/external -L ${TX_WINE_TLB_DIR})
  add_custom_command(
    OUTPUT ${TX_GEN_DIR}/${name}.tlb ${TX_GEN_DIR}/${name}.h ${TX_GEN_DIR}/${name}_i.c
    COMMAND ${TX_WIDL} ${args} -t -o ${TX_GEN_DIR}/${name}.tlb ${src}
    COMMAND ${TX_WIDL} ${args} -h -o ${TX_GEN_DIR}/${name}.h ${src}
    COMMAND ${TX_WIDL} ${args} -u -o ${TX_GEN_DIR}/${name}_i.c ${src}
    DEPENDS ${src}
    COMMENT "widl ${idl}")
  add_custom_target(${name}_idl DEPENDS ${TX_GEN_DIR}/${name}.tlb ${TX_GEN_DIR}/${name}.h ${TX_GEN_DIR}/${name}_i.c)
endfunction()
