# Entries of maps.zda: the eleven stage maps fribb300.bin .. fribb310.bin,
# compiled from the text maps here by fribb3-mapc. A stage without its own
# text map plays stage 1's for now.
set(FRIBB3_MAPS_SRC ${CMAKE_CURRENT_LIST_DIR})
file(MAKE_DIRECTORY ${FRIBB3_CONTENT_OUT}/maps)
foreach(n RANGE 0 10)
  if(n LESS 10)
    set(name fribb30${n})
  else()
    set(name fribb3${n})
  endif()
  set(src ${FRIBB3_MAPS_SRC}/${name}.txt)
  if(NOT EXISTS ${src})
    set(src ${FRIBB3_MAPS_SRC}/fribb301.txt)
  endif()
  set(out ${FRIBB3_CONTENT_OUT}/maps/${name}.bin)
  fribb3_compile(fribb3-mapc ${src} ${out} "Compiling map ${name}" FRIBB3_maps_ENTRIES)
endforeach()
