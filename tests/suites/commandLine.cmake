# Runs the real tessavine-cli on small word lists, and holds its --help against its manual page.
tessavine_add_test(tst_commandLine engine ${CMAKE_CURRENT_LIST_DIR}/tst_commandLine.cpp)
target_compile_definitions(tst_commandLine PRIVATE
    TESSAVINE_CLI="$<TARGET_FILE:tessavine-cli>"
    TESSAVINE_WORD_TOOL="$<TARGET_FILE:build_word_database>"
    TESSAVINE_CLI_MANUAL="${PROJECT_SOURCE_DIR}/man/tessavine-cli.1")
add_dependencies(tst_commandLine tessavine-cli build_word_database)
