tessavine_add_test(tst_statusLine app ${CMAKE_CURRENT_LIST_DIR}/tst_statusLine.cpp)
