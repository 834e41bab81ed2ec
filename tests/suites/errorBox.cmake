tessavine_add_test(tst_errorBox app ${CMAKE_CURRENT_LIST_DIR}/tst_errorBox.cpp)
