tessavine_add_test(tst_startup ${CMAKE_CURRENT_LIST_DIR}/tst_startup.cpp)
