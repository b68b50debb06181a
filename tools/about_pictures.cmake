# About-box pictures (English, French) and the application icon, drawn at build time.
# resources/ embeds them (QUILLON_ABOUT_PICTURES, target about_pictures).
add_executable(make_about_pictures make_about_pictures.cpp)
target_link_libraries(make_about_pictures PRIVATE Qt6::Gui)

set(QUILLON_PICTURE_DIR ${CMAKE_BINARY_DIR}/pictures)
set(QUILLON_ABOUT_PICTURES
  ${QUILLON_PICTURE_DIR}/about_en.png
  ${QUILLON_PICTURE_DIR}/about_fr.png
  ${QUILLON_PICTURE_DIR}/icon.png)
add_custom_command(OUTPUT ${QUILLON_ABOUT_PICTURES}
  COMMAND make_about_pictures ${QUILLON_PICTURE_DIR} ${PROJECT_VERSION}
  DEPENDS make_about_pictures
  COMMENT "Drawing the about-box pictures and the icon")
add_custom_target(about_pictures DEPENDS ${QUILLON_ABOUT_PICTURES})
# Read by resources/CMakeLists.txt (directory variables do not reach it).
set_target_properties(about_pictures PROPERTIES QUILLON_FILES "${QUILLON_ABOUT_PICTURES}")
