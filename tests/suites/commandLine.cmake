# Runs the real tessavine-cli on small word lists, and holds its --help against its manual page.
tessavine_add_test(tst_commandLine engine ${CMAKE_CURRENT_LIST_DIR}/tst_commandLine.cpp)
target_compile_definitions(tst_commandLine PRIVATE
    TESSAVINE_CLI="$<TARGET_FILE:tessavine-cli>"
    TESSAVINE_WORD_TOOL="$<TARGET_FILE:build_word_database>"
    TESSAVINE_CLI_MANUAL="${PROJECT_SOURCE_DIR}/man/tessavine-cli.1")
add_dependencies(tst_commandLine tessavine-cli build_word_database)
# Preloaded where a run must meet a file system without unnamed temporary files.
add_library(tessavine_no_tmpfile MODULE ${CMAKE_CURRENT_LIST_DIR}/../support/NoTmpFile.c)
set_target_properties(tessavine_no_tmpfile PROPERTIES AUTOMOC OFF)
target_compile_definitions(tst_commandLine PRIVATE
    TESSAVINE_NO_TMPFILE="$<TARGET_FILE:tessavine_no_tmpfile>")
add_dependencies(tst_commandLine tessavine_no_tmpfile)
