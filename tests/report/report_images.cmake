# Renders every report of the fixture to PDF and HTML, then the first page of each PDF to PNG.
# Run by the report-images target with TOOL (the report_images program) and OUT (the folder).
execute_process(COMMAND ${TOOL} ${OUT} RESULT_VARIABLE rendered)
if(NOT rendered EQUAL 0)
  message(FATAL_ERROR "report_images failed")
endif()
file(GLOB pdfs ${OUT}/*.pdf)
foreach(pdf IN LISTS pdfs)
  get_filename_component(name ${pdf} NAME_WE)
  execute_process(COMMAND pdftoppm -png -r 80 -f 1 -l 1 -singlefile ${pdf} ${OUT}/${name}
                  RESULT_VARIABLE converted)
  if(NOT converted EQUAL 0)
    message(FATAL_ERROR "pdftoppm failed on ${pdf}")
  endif()
endforeach()
message(STATUS "Report images in ${OUT}")
