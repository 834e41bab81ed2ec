tessavine_add_test(tst_closing window ${CMAKE_CURRENT_LIST_DIR}/tst_closing.cpp)
