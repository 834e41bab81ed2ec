tessavine_add_test(tst_startup window ${CMAKE_CURRENT_LIST_DIR}/tst_startup.cpp)
