# Layers: each CMake library of the project sees its own folders and the folders of
# the libraries it links, and nothing of the layers above it. Its include root in the
# build tree holds links to exactly its own folders, and no target puts the source
# root on its include path, so an include in the wrong direction does not compile.
#
#   talvik_layer(NAME FOLDERS dir... [SOURCES extra...] [LINKS lib...])
# builds a static library NAME from the *.cpp files of the folders (not their
# subfolders) plus SOURCES, with its include root PUBLIC and LINKS PUBLIC. The
# target's TALVIK_FOLDERS property lists the folders, whose headers get installed.
include(GNUInstallDirs)

function(talvik_layer name)
  cmake_parse_arguments(L "" "" "FOLDERS;SOURCES;LINKS" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  set(sources ${L_SOURCES})
  foreach(folder ${L_FOLDERS})
    talvik_expose(${root} ${folder})
    file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${folder_sources})
  endforeach()
  add_library(${name} STATIC ${sources})
  # Installed, every layer's headers share one root under the prefix (packaging/).
  target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${root}>
                                            $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/talvik>)
  target_compile_features(${name} PUBLIC cxx_std_20)
  set_property(TARGET ${name} PROPERTY TALVIK_FOLDERS ${L_FOLDERS})
  if(L_LINKS)
    target_link_libraries(${name} PUBLIC ${L_LINKS})
  endif()
endfunction()

# Makes FOLDER (relative to the source root) visible under ROOT by a link.
function(talvik_expose root folder)
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT IS_SYMLINK ${root}/${folder})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
endfunction()

# An include root for a target's own folder: talvik_own_folder(TARGET PUBLIC|PRIVATE dir).
function(talvik_own_folder target visibility folder)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  talvik_expose(${root} ${folder})
  target_include_directories(${target} ${visibility} ${root})
endfunction()

# Proves the layering: a probe source in LAYER that includes HEADER, built by a test.
# A probe EXPECT "fails" passes when the compiler cannot find the header; one EXPECT
# "builds" shows that the probe itself is sound.
function(talvik_layer_probe layer header expect)
  string(MAKE_C_IDENTIFIER "${layer}_${header}" id)
  set(src ${CMAKE_BINARY_DIR}/layer-probes/${id}.cpp)
  file(WRITE ${src} "#include \"${header}\"\n")
  add_library(probe_${id} OBJECT EXCLUDE_FROM_ALL ${src})
  target_link_libraries(probe_${id} PRIVATE ${layer})
  add_test(NAME Layering.${layer}.${header}.${expect}
           COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target probe_${id})
  set_tests_properties(Layering.${layer}.${header}.${expect} PROPERTIES RESOURCE_LOCK layer-probes)
  if(expect STREQUAL "fails")
    get_filename_component(name ${header} NAME)
    string(REPLACE "." "\\." name ${name})
    set_tests_properties(Layering.${layer}.${header}.${expect} PROPERTIES
      PASS_REGULAR_EXPRESSION "${name}'?:? (No such file or directory|file not found)")
  endif()
endfunction()
