# Entries of gfx.zda: every picture is compiled by gfxc from the text sources here.
#   blocks.bmp          tile sheet from tiles/*.txt
#   font.bmp, fontbig   font sheets from fonts/glyphs.txt
#   <name>.bmp          one picture per pictures/<name>.pic script
set(FRIBB3_GFX_SOURCE ${CMAKE_CURRENT_LIST_DIR})
set(FRIBB3_GFX_OUT ${FRIBB3_CONTENT_OUT}/gfx)
file(MAKE_DIRECTORY ${FRIBB3_GFX_OUT})

set(gfx_palette ${FRIBB3_GFX_SOURCE}/palette.txt)
set(gfx_glyphs ${FRIBB3_GFX_SOURCE}/fonts/glyphs.txt)
file(GLOB gfx_tile_sources CONFIGURE_DEPENDS ${FRIBB3_GFX_SOURCE}/tiles/*.txt)
file(GLOB gfx_picture_scripts CONFIGURE_DEPENDS ${FRIBB3_GFX_SOURCE}/pictures/*.pic)
file(GLOB gfx_picture_art CONFIGURE_DEPENDS ${FRIBB3_GFX_SOURCE}/pictures/*.txt)

add_custom_command(OUTPUT ${FRIBB3_GFX_OUT}/blocks.bmp
  COMMAND gfxc tiles ${gfx_palette} ${FRIBB3_GFX_OUT}/blocks.bmp ${gfx_tile_sources}
  DEPENDS gfxc ${gfx_palette} ${gfx_tile_sources}
  COMMENT "Drawing blocks.bmp"
  VERBATIM)
list(APPEND FRIBB3_gfx_ENTRIES ${FRIBB3_GFX_OUT}/blocks.bmp)

# Small font: white letters with a dark drop shadow, for 8x8 cells.
add_custom_command(OUTPUT ${FRIBB3_GFX_OUT}/font.bmp
  COMMAND gfxc font ${gfx_palette} ${FRIBB3_GFX_OUT}/font.bmp ${gfx_glyphs} cell=8 ramp=wwww55 shadow=k
  DEPENDS gfxc ${gfx_palette} ${gfx_glyphs}
  COMMENT "Drawing font.bmp"
  VERBATIM)
# Big font: the same drawings doubled, a golden gradient and a dark outline.
add_custom_command(OUTPUT ${FRIBB3_GFX_OUT}/fontbig.bmp
  COMMAND gfxc font ${gfx_palette} ${FRIBB3_GFX_OUT}/fontbig.bmp ${gfx_glyphs}
          cell=16 scale=2 offset=1,1 ramp=llyyyyooOO outline=k
  DEPENDS gfxc ${gfx_palette} ${gfx_glyphs}
  COMMENT "Drawing fontbig.bmp"
  VERBATIM)
list(APPEND FRIBB3_gfx_ENTRIES ${FRIBB3_GFX_OUT}/font.bmp ${FRIBB3_GFX_OUT}/fontbig.bmp)

# Picture scripts may draw tiles, glyphs and story sprites, so each depends on all of them.
foreach(script IN LISTS gfx_picture_scripts)
  get_filename_component(name ${script} NAME_WE)
  add_custom_command(OUTPUT ${FRIBB3_GFX_OUT}/${name}.bmp
    COMMAND gfxc picture ${gfx_palette} ${FRIBB3_GFX_OUT}/${name}.bmp ${script}
    DEPENDS gfxc ${gfx_palette} ${script} ${gfx_glyphs} ${gfx_tile_sources} ${gfx_picture_art}
    COMMENT "Drawing ${name}.bmp"
    VERBATIM)
  list(APPEND FRIBB3_gfx_ENTRIES ${FRIBB3_GFX_OUT}/${name}.bmp)
endforeach()
