# Runs build_word_database on small lists and checks the database it writes, including the
# dbWords.mdb that the build places beside the program.
add_executable(tst_wordDatabaseTool ${CMAKE_CURRENT_LIST_DIR}/tst_wordDatabaseTool.cpp)
target_link_libraries(tst_wordDatabaseTool PRIVATE Qt6::Test PkgConfig::SQLITE3)
target_compile_definitions(tst_wordDatabaseTool PRIVATE
    TESSAVINE_WORD_TOOL="$<TARGET_FILE:build_word_database>"
    TESSAVINE_LANGUAGE_TOOL="$<TARGET_FILE:build_language_words>"
    TESSAVINE_WORDLIST="${TESSAVINE_WORDLIST}"
    TESSAVINE_WORD_DATABASE="${CMAKE_BINARY_DIR}/dbWords.mdb")
add_dependencies(tst_wordDatabaseTool build_word_database build_language_words word_database)
add_test(NAME tst_wordDatabaseTool COMMAND tst_wordDatabaseTool)
set_tests_properties(tst_wordDatabaseTool PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
