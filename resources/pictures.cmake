# The prompt's bitmaps and the loading animation, drawn by scripts into the
# generated folder that the resource compiler searches.
set(picture_tools ${CMAKE_CURRENT_LIST_DIR}/tools)
set(picture_files prev_normal.bmp prev_pressed.bmp prev_hover.bmp
                  next_normal.bmp next_pressed.bmp next_hover.bmp
                  dot.bmp dot_current.bmp logo.bmp)
list(TRANSFORM picture_files PREPEND ${gen}/)

add_custom_command(OUTPUT ${picture_files}
  COMMAND ${Python3_EXECUTABLE} ${picture_tools}/draw_pictures.py ${gen}
  DEPENDS ${picture_tools}/draw_pictures.py ${picture_tools}/imagefmt.py ${picture_tools}/shapes.py
  COMMENT "Drawing the arrow, dot and logo bitmaps")

add_custom_command(OUTPUT ${gen}/loading.avi
  COMMAND ${Python3_EXECUTABLE} ${picture_tools}/make_loading_avi.py ${gen}/loading.avi
  DEPENDS ${picture_tools}/make_loading_avi.py ${picture_tools}/avifmt.py
  COMMENT "Drawing the loading animation")

# The identifiers header rides along so that editing it recompiles the script.
list(APPEND WENDARO_GENERATED_RESOURCES ${picture_files} ${gen}/loading.avi
     ${CMAKE_CURRENT_LIST_DIR}/dialog_ids.h)
