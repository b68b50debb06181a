# quillon-frame-bench: mean frame time of the 3D view with four n = 32 shapes.
# Needs an X display: xvfb-run -a ./quillon-frame-bench [frames]
add_executable(quillon-frame-bench ${CMAKE_CURRENT_LIST_DIR}/frame_bench.cpp)
target_link_libraries(quillon-frame-bench PRIVATE quillon_view3d quillon_test_view3d)
# Times frames inside the view's own context scope.
quillon_sees_private_headers(quillon-frame-bench quillon_view3d)
