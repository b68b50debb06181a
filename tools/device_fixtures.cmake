# Device profiles for the gamut tests and the build benchmark.
add_executable(make_device_fixtures make_device_fixtures.cpp)
target_link_libraries(make_device_fixtures PRIVATE PkgConfig::LCMS2)
set_target_properties(make_device_fixtures PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)

set(QUILLON_DEVICE_FIXTURES
  ${QUILLON_FIXTURE_DIR}/rgb_display.icc
  ${QUILLON_FIXTURE_DIR}/cmyk_output.icc
  ${QUILLON_FIXTURE_DIR}/six_colour.icc)
add_custom_command(OUTPUT ${QUILLON_DEVICE_FIXTURES}
  COMMAND make_device_fixtures ${QUILLON_FIXTURE_DIR}
  DEPENDS make_device_fixtures
  COMMENT "Generating device profile fixtures")
add_custom_target(device_fixtures ALL DEPENDS ${QUILLON_DEVICE_FIXTURES})
