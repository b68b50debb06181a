# quillon-probe-combo-bench: the probe taking a 50,000-colour library, and its combo fill.
# Needs an X display: xvfb-run -a ./quillon-probe-combo-bench [colours]
add_executable(quillon-probe-combo-bench ${CMAKE_CURRENT_LIST_DIR}/probe_combo_bench.cpp)
target_link_libraries(quillon-probe-combo-bench PRIVATE quillon_ui quillon_profiles)
quillon_sees_private_headers(quillon-probe-combo-bench quillon_ui)
