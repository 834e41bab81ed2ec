tessavine_add_test(tst_startup window ${CMAKE_CURRENT_LIST_DIR}/tst_startup.cpp)
# The window program itself, for its arguments and its answers without a window.
target_compile_definitions(tst_startup PRIVATE TESSAVINE_PROGRAM="$<TARGET_FILE:tessavine>")
add_dependencies(tst_startup tessavine)
