tessavine_add_test(tst_folderChooser window ${CMAKE_CURRENT_LIST_DIR}/tst_folderChooser.cpp)
