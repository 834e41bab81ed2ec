# Run at install time, when the prefix is known: a package is made with another prefix than the
# build was configured with. Fills the manual pages' fields with this installation's folders,
# compresses them without name or time stamp, and installs them. Set by the caller:
# TESSAVINE_MAN_SOURCES, TESSAVINE_MAN_WORK (a folder of the build), TESSAVINE_LIBDIR and
# TESSAVINE_DOCDIR (relative to the prefix), TESSAVINE_MAN_SETTINGS and TESSAVINE_MANDIR.

# Hyphens in a path are written \- so that they are not set as typographic dashes.
function(tessavine_man_text path variable)
    string(REPLACE "-" "\\-" text "${path}")
    set(${variable} "${text}" PARENT_SCOPE)
endfunction()
tessavine_man_text("${CMAKE_INSTALL_PREFIX}/${TESSAVINE_LIBDIR}/tessavine" TESSAVINE_MAN_LIBDIR)
tessavine_man_text("${CMAKE_INSTALL_PREFIX}/${TESSAVINE_DOCDIR}" TESSAVINE_MAN_DOCDIR)

foreach(page IN LISTS TESSAVINE_MAN_SOURCES)
    get_filename_component(name "${page}" NAME)
    configure_file("${page}" "${TESSAVINE_MAN_WORK}/${name}" @ONLY)
    execute_process(COMMAND gzip -9nf "${TESSAVINE_MAN_WORK}/${name}" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip failed on ${TESSAVINE_MAN_WORK}/${name}")
    endif()
    file(INSTALL "${TESSAVINE_MAN_WORK}/${name}.gz"
        DESTINATION "${CMAKE_INSTALL_PREFIX}/${TESSAVINE_MANDIR}/man1")
endforeach()
