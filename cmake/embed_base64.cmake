# Writes the file IN as one C++ raw string literal of its base64 text to OUT:
#   cmake -DIN=engine.wasm -DOUT=engine.wasm.b64.inc -P embed_base64.cmake
execute_process(COMMAND base64 -w0 ${IN} OUTPUT_VARIABLE text RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "base64 failed for ${IN}")
endif()
file(WRITE ${OUT} "R\"kvb64(${text})kvb64\"\n")
