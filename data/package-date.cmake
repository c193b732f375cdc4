# Read by cpack (CPACK_PROJECT_CONFIG_FILE). Dates every file in the package by the
# last commit, so that two builds of one commit give the same package. A
# SOURCE_DATE_EPOCH already set wins; outside a git checkout cpack uses the clock.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(epoch)
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
  endif()
endif()
