# Runs the tool and compares its output with the committed installer include.
execute_process(COMMAND ${TOOL} OUTPUT_VARIABLE generated RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TOOL} failed: ${result}")
endif()
file(READ ${EXPECTED} committed)
if(NOT generated STREQUAL committed)
  message(FATAL_ERROR "${EXPECTED} is out of date with the application descriptions: regenerate it with\n"
                      "  build/host/tools/tv_applications/tv_applications > src/installer/tv_applications.nsh")
endif()
