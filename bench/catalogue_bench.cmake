# quillon-catalogue-bench: listing times of the profile catalogue over generated folders.
add_executable(quillon-catalogue-bench catalogue_bench.cpp)
target_link_libraries(quillon-catalogue-bench PRIVATE quillon_profiles quillon_test_profiles PkgConfig::LCMS2)
set_target_properties(quillon-catalogue-bench PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
