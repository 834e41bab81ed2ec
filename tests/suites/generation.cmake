tessavine_add_test(tst_textFunctions engine ${CMAKE_CURRENT_LIST_DIR}/tst_textFunctions.cpp)
tessavine_add_test(tst_generationRun window ${CMAKE_CURRENT_LIST_DIR}/tst_generationRun.cpp)
tessavine_add_test(tst_wordSource engine ${CMAKE_CURRENT_LIST_DIR}/tst_wordSource.cpp)
# Reads the dbWords.mdb that the build places beside the program.
add_dependencies(tst_wordSource word_database)
