# quillon-gamut: the command-line figures tool, on the same gamut/ and profiles/ code as the
# window and without any Qt. Built into the run folder beside quillon.
add_library(quillon_gamut_cli STATIC ${CMAKE_CURRENT_LIST_DIR}/gamut_cli/GamutCommand.cpp)
quillon_headers(quillon_gamut_cli PUBLIC gamut_cli/GamutCommand.h)
target_link_libraries(quillon_gamut_cli PUBLIC quillon_gamut quillon_profiles)
set_target_properties(quillon_gamut_cli PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)

add_executable(quillon-gamut ${CMAKE_CURRENT_LIST_DIR}/quillon_gamut.cpp)
target_link_libraries(quillon-gamut PRIVATE quillon_gamut_cli)
set_target_properties(quillon-gamut PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF
  RUNTIME_OUTPUT_DIRECTORY ${QUILLON_RUN_DIR})
