# layers.cmake - the subsystems as libraries in layer order, and the link
# checks that keep a lower layer from calling a higher one.
#
# Each layer is an OBJECT library: its objects are compiled once and go
# whole into whatever links the layer. orvel_layer(NAME FOLDERS ... BENEATH
# ...) makes layer NAME of the sources of FOLDERS, seeing the layers
# BENEATH it. orvel_layer_check(NAME MAIN) makes the program NAME_link_check
# of MAIN and layer NAME with the layers beneath it, nothing else. Because
# every object of those layers is linked (an OBJECT library is not an
# archive from which only referenced members are pulled), a function of
# theirs that calls one defined in a higher layer leaves an undefined
# symbol and the check fails to link: an upward call fails the build.

# What every layer compiles and links with: the source root and the
# generated dictionary header on the include path, the system libraries.
if(NOT TARGET orvel_base)
  add_library(orvel_base INTERFACE)
endif()

function(orvel_layer name)
  cmake_parse_arguments(L "" "" "FOLDERS;BENEATH" ${ARGN})
  set(sources)
  foreach(folder IN LISTS L_FOLDERS)
    file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${folder_sources})
  endforeach()
  add_library(${name} OBJECT ${sources})
  target_link_libraries(${name} PUBLIC orvel_base)
  set_property(TARGET ${name} PROPERTY ORVEL_LAYERS_BENEATH ${L_BENEATH})
endfunction()

function(orvel_layer_check name main)
  get_property(beneath TARGET ${name} PROPERTY ORVEL_LAYERS_BENEATH)
  add_executable(${name}_link_check ${main})
  target_link_libraries(${name}_link_check PRIVATE ${name} ${beneath})
  # Nothing may be left to the run time: a shared library or the
  # executable itself would otherwise accept an undefined symbol only
  # when it is called.
  target_link_options(${name}_link_check PRIVATE -Wl,--no-undefined -Wl,-z,defs)
endfunction()
