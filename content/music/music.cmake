# Entries of music.zda: every tune source NAME.tune is compiled by modc into NAME.mod.
set(FRIBB3_MUSIC_NAMES
  0.fribb3-title 1.labyrinth 2.anctemple 3.happytimes 4.almostthere 5.risingsun
  6.deepwildness 7.thechallenge 8.twinrainbow 9.yist 10.tastyflowers
  x.levelcomplete y.jingle)
file(MAKE_DIRECTORY ${FRIBB3_CONTENT_OUT}/music)
foreach(name IN LISTS FRIBB3_MUSIC_NAMES)
  set(src ${CMAKE_CURRENT_LIST_DIR}/${name}.tune)
  set(mod ${FRIBB3_CONTENT_OUT}/music/${name}.mod)
  fribb3_compile(modc ${src} ${mod} "Compiling music ${name}" FRIBB3_music_ENTRIES)
endforeach()
