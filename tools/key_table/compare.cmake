# Runs the key-table tool and compares its output with the committed file.
execute_process(COMMAND ${TOOL} OUTPUT_VARIABLE generated RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TOOL} failed: ${result}")
endif()
file(READ ${EXPECTED} committed)
if(NOT generated STREQUAL committed)
  message(FATAL_ERROR "${EXPECTED} is out of date with the key maps: regenerate it with\n"
                      "  build/host/tools/key_table/key_table > docs/remote-keys.md")
endif()
