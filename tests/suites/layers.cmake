# The one-way stack of source folders, and the engine's isolation from Qt Gui and Widgets, checked
# on the sources and on what the engine-only programs are really linked with.
add_executable(tessavine_engine_only ${CMAKE_CURRENT_LIST_DIR}/../support/EngineOnly.cpp)
target_link_libraries(tessavine_engine_only PRIVATE tessavine_engine)
get_target_property(TESSAVINE_GUI_HEADERS Qt6::Gui INTERFACE_INCLUDE_DIRECTORIES)
get_target_property(TESSAVINE_WIDGETS_HEADERS Qt6::Widgets INTERFACE_INCLUDE_DIRECTORIES)
set(TESSAVINE_QT_HEADERS ${TESSAVINE_GUI_HEADERS} ${TESSAVINE_WIDGETS_HEADERS})
list(FILTER TESSAVINE_QT_HEADERS INCLUDE REGEX "/Qt(Gui|Widgets)$")
list(REMOVE_DUPLICATES TESSAVINE_QT_HEADERS)
add_test(NAME layers COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
    "-DQT_HEADER_DIRS=${TESSAVINE_QT_HEADERS}"
    "-DPROGRAMS=$<TARGET_FILE:tessavine-cli>;$<TARGET_FILE:tessavine_engine_only>"
    -P ${CMAKE_CURRENT_LIST_DIR}/../support/checkLayers.cmake)
set_tests_properties(layers PROPERTIES TIMEOUT 60)
