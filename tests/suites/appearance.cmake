tessavine_add_test(tst_appearance window ${CMAKE_CURRENT_LIST_DIR}/tst_appearance.cpp)
