# Writes the file IN as base64 text to OUT, a C++ definition of the character array NAME:
#   cmake -DIN=engine.wasm -DOUT=engine.wasm.b64.inc -DNAME=kEngine -P embed_base64.cmake
execute_process(COMMAND base64 -w0 ${IN} OUTPUT_VARIABLE text RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "base64 failed for ${IN}")
endif()
get_filename_component(source ${IN} NAME)
file(WRITE ${OUT} "// ${source} as base64, written by the build.\nconstexpr char ${NAME}[] = R\"kvb64(${text})kvb64\";\n")
