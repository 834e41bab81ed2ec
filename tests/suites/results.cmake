tessavine_add_test(tst_resultList window ${CMAKE_CURRENT_LIST_DIR}/tst_resultList.cpp)
tessavine_add_test(tst_textExport app ${CMAKE_CURRENT_LIST_DIR}/tst_textExport.cpp)
tessavine_add_test(tst_fileTextWriter platform ${CMAKE_CURRENT_LIST_DIR}/tst_fileTextWriter.cpp)
tessavine_add_test(tst_clipboardCopy window ${CMAKE_CURRENT_LIST_DIR}/tst_clipboardCopy.cpp)
tessavine_add_test(tst_spreadsheetExport window ${CMAKE_CURRENT_LIST_DIR}/tst_spreadsheetExport.cpp)
# Switches accessibility on as a screen reader does, through the platform integration.
target_link_libraries(tst_resultList PRIVATE Qt6::GuiPrivate)
