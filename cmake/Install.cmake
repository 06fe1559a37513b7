# Installation. The install tree repeats the build tree's two folders, each in a directory of its
# own under lib/: the program folder (the executable, its help pages and translations) and the
# component folder (the library, the browser runtime, its templates, the sample page and the
# translations). The commands go on bin/, the desktop integration under share/. At the end the
# installed component is registered for the installing user, so the installed program starts at
# once.
#
#   cmake --install <build> --prefix ~/.local
#   cmake --build <build> --target uninstall

set(FOLDLINE_INSTALL_PROGRAM_DIR lib/quillary-foldline)
set(FOLDLINE_INSTALL_COMPONENT_DIR lib/tessel-foldline)
set(FOLDLINE_INSTALL_BIN_DIR bin)

foreach(target QuillaryFoldline tessel-regsvr tessel-call)
  if(TARGET ${target})
    target_compile_definitions(${target} PRIVATE FOLDLINE_VERSION="${PROJECT_VERSION}")
  endif()
endforeach()

# Only Qt (from the system) and static project libraries are linked, so the installed files need
# no run path of their own; the build one must not leak into the install tree.
foreach(target QuillaryFoldline TesselFoldline tessel-regsvr tessel-call)
  if(TARGET ${target})
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "")
  endif()
endforeach()

# ---- program folder ----------------------------------------------------------------------------
install(TARGETS QuillaryFoldline RUNTIME DESTINATION ${FOLDLINE_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/help DESTINATION ${FOLDLINE_INSTALL_PROGRAM_DIR})
# The compiled languages, in the program folder and again in the component folder, each of which
# loads its own (the component may run in another host).
if(FOLDLINE_QM_FILES)
  install(FILES ${FOLDLINE_QM_FILES} DESTINATION ${FOLDLINE_INSTALL_PROGRAM_DIR}/translations)
  install(FILES ${FOLDLINE_QM_FILES} DESTINATION ${FOLDLINE_INSTALL_COMPONENT_DIR}/translations)
endif()

# bin/quillary-foldline is a relative link, so the program still finds its own folder (Qt reads
# the executable's real path) and the prefix can be moved.
set(FOLDLINE_LAUNCHER ${CMAKE_BINARY_DIR}/install-links/quillary-foldline)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
file(CREATE_LINK ../lib/quillary-foldline/QuillaryFoldline ${FOLDLINE_LAUNCHER} SYMBOLIC)
install(FILES ${FOLDLINE_LAUNCHER} DESTINATION ${FOLDLINE_INSTALL_BIN_DIR})

# ---- component folder --------------------------------------------------------------------------
install(TARGETS TesselFoldline LIBRARY DESTINATION ${FOLDLINE_INSTALL_COMPONENT_DIR})
# The build's component folder is also a CMake binary folder, so only the placed files are taken.
# The shipped templates are placed anew so their support-file lists name the installed folder.
install(DIRECTORY ${FOLDLINE_COMPONENT_DIR}/Sample DESTINATION ${FOLDLINE_INSTALL_COMPONENT_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/runtime/furlin.js ${CMAKE_SOURCE_DIR}/runtime/furlin.css
        DESTINATION ${FOLDLINE_INSTALL_COMPONENT_DIR})
install(CODE "
  set(_component \"\${CMAKE_INSTALL_PREFIX}/${FOLDLINE_INSTALL_COMPONENT_DIR}\")
  execute_process(COMMAND \"${CMAKE_COMMAND}\" -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/data/templates
                          \"-DDEST_DIR=\$ENV{DESTDIR}\${_component}\" \"-DCOMPONENT_DIR=\${_component}\"
                          -P ${CMAKE_SOURCE_DIR}/cmake/PlaceTemplates.cmake)
  file(GLOB _foldline_templates LIST_DIRECTORIES false \"${CMAKE_SOURCE_DIR}/data/templates/*.tsl.in\")
  foreach(_template \${_foldline_templates})
    get_filename_component(_name \"\${_template}\" NAME)
    string(REGEX REPLACE \"[.]in$\" \"\" _name \"\${_name}\")
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_component}/\${_name}\")
  endforeach()
")

# ---- commands and desktop integration ----------------------------------------------------------
install(TARGETS tessel-regsvr tessel-call RUNTIME DESTINATION ${FOLDLINE_INSTALL_BIN_DIR})

set(FOLDLINE_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/data/desktop)
install(FILES ${FOLDLINE_DESKTOP_DIR}/quillary-foldline.desktop DESTINATION share/applications)
install(FILES ${FOLDLINE_DESKTOP_DIR}/quillary-foldline.svg
        DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${FOLDLINE_DESKTOP_DIR}/quillary-foldline.xml DESTINATION share/mime/packages)

# ---- after the files: registration and desktop caches ------------------------------------------
# (No return() in here: the code is pasted into cmake_install.cmake, whose end writes the manifest.)
install(CODE "
  set(_prefix \"\${CMAKE_INSTALL_PREFIX}\")
  set(_library \"\${_prefix}/${FOLDLINE_INSTALL_COMPONENT_DIR}/libTesselFoldline.so\")
  if(NOT \"\$ENV{DESTDIR}\" STREQUAL \"\")
    # A staged install is registered, and its caches built, where it is finally unpacked.
    message(STATUS \"Staged install: register with tessel-regsvr \${_library}\")
  else()
    execute_process(COMMAND \"\${_prefix}/${FOLDLINE_INSTALL_BIN_DIR}/tessel-regsvr\" \"\${_library}\"
                    RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
    if(_rc EQUAL 0)
      message(STATUS \"Registered \${_library}\")
    else()
      string(STRIP \"\${_err}\" _err)
      # SEND_ERROR fails the install but still lets the manifest be written for uninstall.
      message(SEND_ERROR \"Registering \${_library} failed (\${_rc}): \${_err}\")
    endif()
    find_program(_update_mime update-mime-database)
    if(_update_mime)
      execute_process(COMMAND \"\${_update_mime}\" \"\${_prefix}/share/mime\"
                      RESULT_VARIABLE _ignored OUTPUT_QUIET ERROR_QUIET)
    endif()
    find_program(_update_desktop update-desktop-database)
    if(_update_desktop)
      execute_process(COMMAND \"\${_update_desktop}\" -q \"\${_prefix}/share/applications\"
                      RESULT_VARIABLE _ignored OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
")

add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
          -P ${CMAKE_SOURCE_DIR}/cmake/Uninstall.cmake
  COMMENT "Unregistering the component and removing the installed files"
  VERBATIM)
