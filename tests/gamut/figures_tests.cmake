# Synthetic shapes of known volume, shared by the figure tests.
add_library(quillon_test_gamut INTERFACE)
quillon_headers(quillon_test_gamut PUBLIC SyntheticShapes.h)
target_link_libraries(quillon_test_gamut INTERFACE quillon_gamut)

# Volumes, coverage and colour verdicts of gamut solids.
add_executable(test_gamut_solid ${CMAKE_CURRENT_LIST_DIR}/GamutSolidTest.cpp)
target_link_libraries(test_gamut_solid PRIVATE quillon_gamut quillon_test_gamut GTest::gtest_main)
set_target_properties(test_gamut_solid PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
gtest_discover_tests(test_gamut_solid)

# The net the figures use against the strips the viewport draws (no GL needed).
add_executable(test_gamut_net_mesh ${CMAKE_CURRENT_LIST_DIR}/NetMatchesMeshTest.cpp)
target_link_libraries(test_gamut_net_mesh PRIVATE quillon_view3d_core quillon_test_gamut GTest::gtest_main)
set_target_properties(test_gamut_net_mesh PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
gtest_discover_tests(test_gamut_net_mesh)

# Real builds from generated profiles: verdicts, named-colour counts, error results.
add_executable(test_gamut_profile_figures ${CMAKE_CURRENT_LIST_DIR}/ProfileFiguresTest.cpp)
target_link_libraries(test_gamut_profile_figures PRIVATE quillon_gamut quillon_test_gamut GTest::gtest_main)
target_compile_definitions(test_gamut_profile_figures PRIVATE
  QUILLON_RUN_DIR="${QUILLON_RUN_DIR}" QUILLON_FIXTURE_DIR="${QUILLON_FIXTURE_DIR}")
set_target_properties(test_gamut_profile_figures PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
add_dependencies(test_gamut_profile_figures glp_profile device_fixtures profile_fixtures)
gtest_discover_tests(test_gamut_profile_figures)
