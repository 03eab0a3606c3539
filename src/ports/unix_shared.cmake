# What the Unix ports share: the run until a dismissal, the local clock, and the sprite sheets compiled in as committed
# (the 1x one run-length encoded, the others in zlib streams) with their decoder.
set(FQ_EMBEDDED_SHEETS)
foreach(scale 1 2 3)
  set(sheet ${PROJECT_SOURCE_DIR}/src/resources/sprite_sheet_${scale}x.bmp.zlib)
  if(scale EQUAL 1)
    set(sheet ${PROJECT_SOURCE_DIR}/src/resources/sprite_sheet.bmp)
  endif()
  set(source ${CMAKE_CURRENT_BINARY_DIR}/embedded_sprite_sheet_${scale}x.cpp)
  add_custom_command(OUTPUT ${source}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${sheet} -DOUTPUT=${source}
            -DFUNCTION=fq::StoredSpriteSheet${scale}x
            -P ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
    DEPENDS ${sheet} ${PROJECT_SOURCE_DIR}/cmake/embed_file.cmake
    COMMENT "Embedding the ${scale}x sprite sheet")
  list(APPEND FQ_EMBEDDED_SHEETS ${source})
endforeach()

add_library(fq_unix_shared STATIC ${PROJECT_SOURCE_DIR}/src/platform/dismissal.cpp
  ${PROJECT_SOURCE_DIR}/src/platform/local_clock.cpp
  ${PROJECT_SOURCE_DIR}/src/platform/picture.cpp ${FQ_EMBEDDED_SHEETS})
target_link_libraries(fq_unix_shared PUBLIC fq_port_shared)
