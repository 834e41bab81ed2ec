tessavine_add_test(tst_hostileInputs window ${CMAKE_CURRENT_LIST_DIR}/tst_hostileInputs.cpp)
# The output-folder cases read the dbWords.mdb that the build places beside the program.
add_dependencies(tst_hostileInputs word_database)
