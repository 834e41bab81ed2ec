tessavine_add_test(tst_optionPanel window ${CMAKE_CURRENT_LIST_DIR}/tst_optionPanel.cpp)
