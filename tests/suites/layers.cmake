# The one-way stack of source folders, and the isolation of engine, platform and application from
# Qt Gui and Widgets, checked on the sources and on what the programs below the window are really
# linked with: the command line, a program on the engine alone, one on the application layer
# alone, and every test suite below the window.
add_executable(tessavine_engine_only ${CMAKE_CURRENT_LIST_DIR}/../support/EngineOnly.cpp)
target_link_libraries(tessavine_engine_only PRIVATE tessavine_engine)
add_executable(tessavine_app_only ${CMAKE_CURRENT_LIST_DIR}/../support/AppOnly.cpp)
target_link_libraries(tessavine_app_only PRIVATE tessavine_app)
get_target_property(TESSAVINE_GUI_HEADERS Qt6::Gui INTERFACE_INCLUDE_DIRECTORIES)
get_target_property(TESSAVINE_WIDGETS_HEADERS Qt6::Widgets INTERFACE_INCLUDE_DIRECTORIES)
set(TESSAVINE_QT_HEADERS ${TESSAVINE_GUI_HEADERS} ${TESSAVINE_WIDGETS_HEADERS})
list(FILTER TESSAVINE_QT_HEADERS INCLUDE REGEX "/Qt(Gui|Widgets)$")
list(REMOVE_DUPLICATES TESSAVINE_QT_HEADERS)

# Once every suite is known.
function(tessavine_add_layers_test)
    get_property(suites GLOBAL PROPERTY TESSAVINE_GUILESS_PROGRAMS)
    set(programs $<TARGET_FILE:tessavine-cli> $<TARGET_FILE:tessavine_engine_only>
        $<TARGET_FILE:tessavine_app_only> ${suites})
    add_test(NAME layers COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
        "-DQT_HEADER_DIRS=${TESSAVINE_QT_HEADERS}" "-DPROGRAMS=${programs}"
        -P ${PROJECT_SOURCE_DIR}/tests/support/checkLayers.cmake)
    set_tests_properties(layers PROPERTIES TIMEOUT 60)
endfunction()
cmake_language(DEFER CALL tessavine_add_layers_test)
