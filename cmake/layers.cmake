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

# What every layer compiles and links with: the generated dictionary
# header on the include path and the system libraries. The source root is
# not on a layer's include path: each folder sees its own layer's folders
# and those beneath (orvel_include_view).
if(NOT TARGET orvel_base)
  add_library(orvel_base INTERFACE)
endif()

# orvel_layer(NAME FOLDERS ... [BENEATH ...] [ORDERED]): ORDERED says that
# the layer's folders are themselves in order, each seeing only itself and
# the folders named before it (the ground: platform < core < engine <
# record access). The folders and what each may include are remembered for
# orvel_write_include_rules.
function(orvel_layer name)
  cmake_parse_arguments(L "ORDERED" "" "FOLDERS;BENEATH" ${ARGN})
  set(sources)
  foreach(folder IN LISTS L_FOLDERS)
    file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${folder_sources})
  endforeach()
  add_library(${name} OBJECT ${sources})
  target_link_libraries(${name} PUBLIC orvel_base)
  set_property(TARGET ${name} PROPERTY ORVEL_LAYERS_BENEATH ${L_BENEATH})
  set_property(TARGET ${name} PROPERTY ORVEL_LAYER_FOLDERS ${L_FOLDERS})

  # What the folders of the layers beneath hold, every one of them visible.
  set(beneath_folders)
  foreach(lower IN LISTS L_BENEATH)
    get_property(lower_folders TARGET ${lower} PROPERTY ORVEL_LAYER_FOLDERS)
    list(APPEND beneath_folders ${lower_folders})
  endforeach()
  set(seen)
  foreach(folder IN LISTS L_FOLDERS)
    list(APPEND seen ${folder})
    if(L_ORDERED)
      set(allowed ${seen} ${beneath_folders})
    else()
      set(allowed ${L_FOLDERS} ${beneath_folders})
    endif()
    list(JOIN allowed " " allowed_text)
    set_property(GLOBAL APPEND PROPERTY ORVEL_INCLUDE_RULES "${folder}: ${allowed_text}")
    # The folder's sources see, on their include path, only the folders
    # they may include: a header of any other folder is not found, so an
    # upward include fails the compile in either spelling.
    orvel_include_view(view ${folder} ${allowed})
    file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    set_source_files_properties(${folder_sources} PROPERTIES INCLUDE_DIRECTORIES ${view})
  endforeach()
endfunction()

# orvel_include_view(OUT FOLDER ALLOWED...): a directory in the build tree
# holding a link to each ALLOWED folder at its path from the source root
# (database/engine as database/engine), and nothing else; OUT is its path.
# A folder inside one already linked is seen through that link.
function(orvel_include_view out folder)
  string(REPLACE "/" "_" id ${folder})
  set(view ${CMAKE_BINARY_DIR}/layer_views/${id})
  file(MAKE_DIRECTORY ${view})
  foreach(allowed IN LISTS ARGN)
    set(covered FALSE)
    foreach(other IN LISTS ARGN)
      string(FIND "${allowed}" "${other}/" at)
      if(at EQUAL 0)
        set(covered TRUE)
      endif()
    endforeach()
    if(covered OR IS_SYMLINK ${view}/${allowed})
      continue()
    endif()
    get_filename_component(parent ${allowed} DIRECTORY)
    if(parent)
      file(MAKE_DIRECTORY ${view}/${parent})
    endif()
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${allowed} ${view}/${allowed} SYMBOLIC)
  endforeach()
  set(${out} ${view} PARENT_SCOPE)
endfunction()

# orvel_write_include_rules(FILE): writes one line a folder of every layer
# declared so far, "FOLDER: ALLOWED...", the folders whose headers FOLDER's
# files may include. tests/core/layer_includes.sh checks the tree against
# it, so the include rules are the layer list and not a copy of it.
function(orvel_write_include_rules file)
  get_property(rules GLOBAL PROPERTY ORVEL_INCLUDE_RULES)
  list(JOIN rules "\n" text)
  file(WRITE ${file} "${text}\n")
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
