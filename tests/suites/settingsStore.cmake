tessavine_add_test(tst_settingsStore window ${CMAKE_CURRENT_LIST_DIR}/tst_settingsStore.cpp)
