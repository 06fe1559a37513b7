# Places the shipped widget templates (data/templates/*.tsl.in) in a component folder, with the
# folder written into their support-file lists.
# Usage: cmake -DSOURCE_DIR=... -DDEST_DIR=... [-DCOMPONENT_DIR=...] -P PlaceTemplates.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT COMPONENT_DIR)
  set(COMPONENT_DIR "${DEST_DIR}")
endif()
file(GLOB _templates "${SOURCE_DIR}/*.tsl.in")
file(MAKE_DIRECTORY "${DEST_DIR}")
foreach(_template ${_templates})
  get_filename_component(_name "${_template}" NAME)
  string(REGEX REPLACE "\\.in$" "" _name "${_name}")
  # Every line of a widget file ends with CR LF, so writing CR LF line ends keeps the bytes.
  configure_file("${_template}" "${DEST_DIR}/${_name}" @ONLY NEWLINE_STYLE CRLF)
endforeach()
