# cmake -DMANIFEST=<build>/install_manifest.txt -P Uninstall.cmake
# Unregisters the installed component, then removes every installed file and the directories the
# installation made that are left empty.
cmake_minimum_required(VERSION 3.25)

if(NOT MANIFEST OR NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: \"${MANIFEST}\" does not exist (install first).")
endif()
file(STRINGS "${MANIFEST}" _files)

set(_library "")
set(_regsvr "")
foreach(_file IN LISTS _files)
  if(_file MATCHES "/lib/tessel-foldline/libTesselFoldline\\.so$")
    set(_library "${_file}")
  elseif(_file MATCHES "/bin/tessel-regsvr$")
    set(_regsvr "${_file}")
  endif()
endforeach()

# The classes root, found as the platform layer finds it.
if(NOT "$ENV{TESSEL_CLASSES_ROOT}" STREQUAL "")
  set(_root "$ENV{TESSEL_CLASSES_ROOT}")
elseif("$ENV{XDG_DATA_HOME}" MATCHES "^/")
  set(_root "$ENV{XDG_DATA_HOME}/tessel/classes.reg")
else()
  set(_root "$ENV{HOME}/.local/share/tessel/classes.reg")
endif()

# Unregister only when the registration names this installation's library: the user may since
# have registered another copy (a build tree, another prefix), which must keep working.
if(_library AND _regsvr AND EXISTS "${_library}" AND EXISTS "${_regsvr}" AND EXISTS "${_root}")
  file(REAL_PATH "${_library}" _registered_as)
  string(REPLACE "\\" "\\\\" _quoted "${_registered_as}")
  string(REPLACE "\"" "\\\"" _quoted "${_quoted}")
  file(READ "${_root}" _classes)
  string(FIND "${_classes}" "@=\"${_quoted}\"" _at)
  if(_at GREATER_EQUAL 0)
    execute_process(COMMAND "${_regsvr}" -u "${_library}"
                    RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_VARIABLE _err)
    if(_rc EQUAL 0)
      message(STATUS "Unregistered ${_library}")
    else()
      message(WARNING "Unregistering ${_library} failed (${_rc}): ${_err}")
    endif()
  else()
    message(STATUS "The classes root ${_root} does not name ${_library}; registration left alone")
  endif()
endif()

set(_dirs "")
foreach(_file IN LISTS _files)
  if(IS_SYMLINK "${_file}" OR EXISTS "${_file}")
    file(REMOVE "${_file}")
    message(STATUS "Removed ${_file}")
  endif()
  get_filename_component(_dir "${_file}" DIRECTORY)
  list(APPEND _dirs "${_dir}")
endforeach()

# Only the installation's own directories go, and only when empty: the preview folder or files
# a user left there keep them.
list(REMOVE_DUPLICATES _dirs)
foreach(_dir IN LISTS _dirs)
  while(_dir MATCHES "/lib/(quillary|tessel)-foldline(/|$)")
    file(GLOB _left "${_dir}/*" "${_dir}/.*")
    if(_left OR NOT IS_DIRECTORY "${_dir}")
      break()
    endif()
    file(REMOVE_RECURSE "${_dir}")
    get_filename_component(_dir "${_dir}" DIRECTORY)
  endwhile()
endforeach()

foreach(_dir IN LISTS _dirs)
  if(_dir MATCHES "/share/mime/packages$")
    get_filename_component(_mime "${_dir}" DIRECTORY)
    find_program(_update_mime update-mime-database)
    if(_update_mime AND IS_DIRECTORY "${_mime}")
      execute_process(COMMAND "${_update_mime}" "${_mime}" RESULT_VARIABLE _ignored
                      OUTPUT_QUIET ERROR_QUIET)
    endif()
  elseif(_dir MATCHES "/share/applications$")
    find_program(_update_desktop update-desktop-database)
    if(_update_desktop AND IS_DIRECTORY "${_dir}")
      execute_process(COMMAND "${_update_desktop}" -q "${_dir}" RESULT_VARIABLE _ignored
                      OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
endforeach()
