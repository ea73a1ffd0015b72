# Compiles the help project in a scratch copy (chmcmd writes its output beside
# the project and takes file names relative to it) and copies the result to
# OUTPUT. chmcmd only warns about a page listed but missing and still writes
# a file, so any warning fails the build here, and no stale file is left.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
foreach(source IN LISTS SOURCES)
  file(COPY ${SOURCE_DIR}/${source} DESTINATION ${WORK_DIR})
endforeach()
execute_process(COMMAND ${CHMCMD} quillon.hhp
  WORKING_DIRECTORY ${WORK_DIR}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(REMOVE ${OUTPUT})
if(NOT result EQUAL 0 OR output MATCHES "[Ww]arning|[Ee]rror" OR NOT EXISTS ${WORK_DIR}/quillon.chm)
  message(FATAL_ERROR "chmcmd failed to compile quillon.hhp (exit status ${result}):\n${output}")
endif()
file(COPY_FILE ${WORK_DIR}/quillon.chm ${OUTPUT})
