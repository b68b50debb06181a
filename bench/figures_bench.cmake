# quillon-figures-bench: time of the figures (four solids, volumes, coverage) and of the
# colour verdicts (10,000 colours against four shapes). Usage: quillon-figures-bench [PROFILE...]
add_executable(quillon-figures-bench ${CMAKE_CURRENT_LIST_DIR}/figures_bench.cpp)
target_link_libraries(quillon-figures-bench PRIVATE quillon_gamut)
set_target_properties(quillon-figures-bench PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)

# quillon-gamut-reference: independent volumes and coverages by voxel counting (slow).
add_executable(quillon-gamut-reference ${CMAKE_CURRENT_LIST_DIR}/gamut_reference.cpp)
target_link_libraries(quillon-gamut-reference PRIVATE PkgConfig::LCMS2)
set_target_properties(quillon-gamut-reference PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
