# The real window on the real platform services in a process of its own, which the test kills.
add_executable(tessavine_kill_driver ${CMAKE_CURRENT_LIST_DIR}/../support/KillDriver.cpp)
target_link_libraries(tessavine_kill_driver PRIVATE tessavine_window)
tessavine_add_test(tst_killSafety engine ${CMAKE_CURRENT_LIST_DIR}/tst_killSafety.cpp)
target_compile_definitions(tst_killSafety PRIVATE
    TESSAVINE_KILL_DRIVER="$<TARGET_FILE:tessavine_kill_driver>")
add_dependencies(tst_killSafety tessavine_kill_driver word_database)
