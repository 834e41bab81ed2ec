tessavine_add_test(tst_settingsStore ${CMAKE_CURRENT_LIST_DIR}/tst_settingsStore.cpp)
