# Install step: writes the desktop entry and the compressed manual page and
# changelog with the installed paths (set by the install code just before).
configure_file(${FRIBB3_PACKAGING_SOURCE}/fribb3.desktop.in ${FRIBB3_PACKAGING_BINARY}/fribb3.desktop @ONLY)
configure_file(${FRIBB3_PACKAGING_SOURCE}/fribb3.6.in ${FRIBB3_PACKAGING_BINARY}/fribb3.6 @ONLY)
# Maximum compression and no name or time stamp in the header, as Debian wants.
foreach(pair "fribb3.6;${FRIBB3_PACKAGING_BINARY}/fribb3.6" "changelog;${FRIBB3_PACKAGING_SOURCE}/changelog")
  list(GET pair 0 name)
  list(GET pair 1 source)
  execute_process(COMMAND gzip -9nc ${source}
    OUTPUT_FILE ${FRIBB3_PACKAGING_BINARY}/${name}.gz
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${source} failed")
  endif()
endforeach()
