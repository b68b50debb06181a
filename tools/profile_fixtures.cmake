# Profiles read by the profile tests, written at build time into ${QUILLON_FIXTURE_DIR}.
add_executable(make_profile_fixtures make_profile_fixtures.cpp)
target_link_libraries(make_profile_fixtures PRIVATE PkgConfig::LCMS2 quillon_profiles)

set(QUILLON_PROFILE_FIXTURES_STAMP ${QUILLON_FIXTURE_DIR}/profile_fixtures.stamp)
add_custom_command(OUTPUT ${QUILLON_PROFILE_FIXTURES_STAMP}
  COMMAND make_profile_fixtures ${QUILLON_FIXTURE_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${QUILLON_PROFILE_FIXTURES_STAMP}
  DEPENDS make_profile_fixtures
  COMMENT "Generating profile test fixtures")
add_custom_target(profile_fixtures ALL DEPENDS ${QUILLON_PROFILE_FIXTURES_STAMP})
