# The checker's preview runs the keyboard's own engine in the browser: the core's layers and
# src/preview_engine compiled for WebAssembly (wasm32-wasi) with Debian's clang 14, wasi-libc
# and libc++ for wasm32, in one command on the build machine, whatever the checker's own target
# (the MinGW presets build it the same way). The module is embedded base64 in the checker.
#   keyvane_preview_engine_wasm(<output .inc> LAYERS <the layer targets whose sources it holds>)
# The .inc defines the character array kPreviewEngineBase64.
function(keyvane_preview_engine_wasm inc)
  cmake_parse_arguments(PARSE_ARGV 1 WASM "" "" "LAYERS")
  find_program(KEYVANE_WASM_CXX NAMES clang++-14 REQUIRED
               DOC "clang for the wasm32-wasi engine of the preview (scripts/install-deps build)")
  set(sources)
  # The platform roles are headers only; the layers' folders are named after their targets.
  set(header_globs ${PROJECT_SOURCE_DIR}/src/platform/*.h)
  foreach(layer IN LISTS WASM_LAYERS)
    get_target_property(layer_sources ${layer} SOURCES)
    list(TRANSFORM layer_sources PREPEND ${PROJECT_SOURCE_DIR}/)
    list(APPEND sources ${layer_sources})
    string(REPLACE "keyvane_" "" folder ${layer})
    list(APPEND header_globs ${PROJECT_SOURCE_DIR}/src/${folder}/*.h ${PROJECT_SOURCE_DIR}/src/${folder}/*.inc)
  endforeach()
  file(GLOB headers CONFIGURE_DEPENDS ${header_globs})
  set(wasm ${CMAKE_CURRENT_BINARY_DIR}/preview_engine/keyvane_preview_engine.wasm)
  add_custom_command(
    OUTPUT ${wasm}
    COMMAND ${KEYVANE_WASM_CXX} --target=wasm32-wasi -std=c++20 -Oz -fno-exceptions -Wall -Wextra
            -DKEYVANE_VERSION="${PROJECT_VERSION}" -I${PROJECT_SOURCE_DIR}/src
            # A library for the page's script: no main, no start function; unused code dropped.
            -nostartfiles -Wl,--no-entry -Wl,--gc-sections -Wl,--strip-all -Wl,--export=__wasm_call_ctors
            ${sources} -o ${wasm}
    DEPENDS ${sources} ${headers}
    COMMENT "Building the preview's engine for WebAssembly"
    VERBATIM)
  add_custom_command(
    OUTPUT ${inc}
    COMMAND ${CMAKE_COMMAND} -DIN=${wasm} -DOUT=${inc} -DNAME=kPreviewEngineBase64
            -P ${PROJECT_SOURCE_DIR}/cmake/embed_base64.cmake
    DEPENDS ${wasm} ${PROJECT_SOURCE_DIR}/cmake/embed_base64.cmake
    VERBATIM)
endfunction()
