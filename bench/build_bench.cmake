# quillon-bench: raw LittleCMS transform vs full gamut build, per profile (not a test).
add_executable(quillon-bench build_bench.cpp)
target_link_libraries(quillon-bench PRIVATE quillon_gamut PkgConfig::LCMS2)
# Times the builder's own sampling plan.
quillon_sees_private_headers(quillon-bench quillon_gamut)
target_compile_definitions(quillon-bench PRIVATE
  QUILLON_RUN_DIR="${QUILLON_RUN_DIR}" QUILLON_FIXTURE_DIR="${QUILLON_FIXTURE_DIR}")
set_target_properties(quillon-bench PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
add_dependencies(quillon-bench glp_profile device_fixtures profile_fixtures)
