# Builds the help beside vemo.exe. Run with cmake -P and:
#   SOURCE_DIR  shell/help        WORK_DIR  a scratch folder     OUTPUT_DIR  the folder of vemo.exe
#   CHMCMD      the CHM compiler, or empty to ship the HTML pages in OUTPUT_DIR/help
#   ICONV       iconv, for the project files (their Russian titles are read in code page 1251)
#   PYTHON      python3, which rewrites the pages into code page 1251 for the compiled file
# The pages themselves are UTF-8 and say so; their pictures are PNG files beside them.
file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")
file(GLOB pages "${SOURCE_DIR}/*.html" "${SOURCE_DIR}/*.css" "${SOURCE_DIR}/*.png")
file(COPY ${pages} DESTINATION "${WORK_DIR}")
if(NOT CHMCMD)
  file(REMOVE_RECURSE "${OUTPUT_DIR}/help")
  file(COPY ${pages} DESTINATION "${OUTPUT_DIR}/help")
  return()
endif()
execute_process(COMMAND "${PYTHON}" "${SOURCE_DIR}/pages_to_cp1251.py" "${WORK_DIR}"
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the help pages could not be converted to code page 1251")
endif()
foreach(name vemo.hhp vemo.hhc vemo.hhk)
  execute_process(COMMAND "${ICONV}" -f UTF-8 -t CP1251 "${SOURCE_DIR}/${name}"
                  OUTPUT_FILE "${WORK_DIR}/${name}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "iconv could not convert ${name} to code page 1251")
  endif()
endforeach()
execute_process(COMMAND "${CHMCMD}" --verbosity 0 vemo.hhp WORKING_DIRECTORY "${WORK_DIR}"
                RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(failed OR NOT EXISTS "${WORK_DIR}/vemo.chm")
  message(FATAL_ERROR "chmcmd failed:\n${log}")
endif()
file(COPY "${WORK_DIR}/vemo.chm" DESTINATION "${OUTPUT_DIR}")
