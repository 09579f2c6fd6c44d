# Runs one replay and judges its final line.
# -DREPLAY=exe -DARGS=list -DSCRIPT=file, then either -DEXPECTED=file (the
# whole final line must equal the file's line) or -DPATTERN=regex (the final
# line must match). With the environment variable FRIBB3_UPDATE_GOLDEN=1 an
# EXPECTED file is rewritten from this run instead of compared.
execute_process(COMMAND ${REPLAY} ${ARGS} ${SCRIPT}
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fribb3-replay failed (${rc}):\n${out}${err}")
endif()
string(REGEX MATCH "(^|\n)final [^\n]*" final "${out}")
string(STRIP "${final}" final)
if(final STREQUAL "")
  message(FATAL_ERROR "no final line in:\n${out}${err}")
endif()

if(DEFINED PATTERN)
  if(NOT final MATCHES "${PATTERN}")
    message(FATAL_ERROR "final line does not match \"${PATTERN}\":\n${final}")
  endif()
  return()
endif()

if("$ENV{FRIBB3_UPDATE_GOLDEN}" STREQUAL "1")
  file(WRITE ${EXPECTED} "${final}\n")
  message(STATUS "rewrote ${EXPECTED}")
  return()
endif()
if(NOT EXISTS ${EXPECTED})
  message(FATAL_ERROR "${EXPECTED} is missing; this run's final line is:\n${final}")
endif()
file(READ ${EXPECTED} expected)
string(STRIP "${expected}" expected)
if(NOT final STREQUAL expected)
  message(FATAL_ERROR "final line differs from ${EXPECTED}\nexpected: ${expected}\nactual:   ${final}")
endif()
