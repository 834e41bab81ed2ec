tessavine_add_test(tst_appearance ${CMAKE_CURRENT_LIST_DIR}/tst_appearance.cpp)
