# The installed package as its users meet it, one step per test:
#   STEP=install         installs BUILD_DIR into a fresh prefix, checks that no installed
#                        text names the build, the sources or that prefix, and moves the
#                        prefix elsewhere, where the consumers find it
#   STEP=core            configures, builds and runs tests/consumer/core with Qt out of
#                        reach (finding Qt6 is disabled), so core must need none of it
#   STEP=qt              the same for tests/consumer/qt
#   STEP=qt_without_qt   asking for the qt component where Qt cannot be found stops
#                        the consumer's configuration with a clear message
# Run by CTest with -P; BUILD_DIR, SOURCE_DIR, WORK_DIR, GENERATOR, CXX_COMPILER,
# CXX_LAUNCHER, CXX_FLAGS, LINK_FLAGS, BUILD_TYPE, INCLUDEDIR and LIBDIR come from
# packaging/CMakeLists.txt.
cmake_minimum_required(VERSION 3.22)

set(staging ${WORK_DIR}/staging)
set(prefix ${WORK_DIR}/prefix)

function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  message(STATUS "${what}: ok")
endfunction()

if(STEP STREQUAL "install")
  file(REMOVE_RECURSE ${staging} ${prefix})
  run("cmake --install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${staging})

  foreach(needed ${INCLUDEDIR}/talvik/answer/Matrix.h ${INCLUDEDIR}/talvik/frame/host/ControlHost.h
                 ${INCLUDEDIR}/talvik/hosts/headless/HeadlessHost.h ${INCLUDEDIR}/talvik/resources/Resources.h
                 ${LIBDIR}/cmake/TalvikSkills/TalvikSkillsConfig.cmake
                 ${LIBDIR}/cmake/TalvikSkills/TalvikSkillsConfigVersion.cmake
                 ${LIBDIR}/cmake/TalvikSkills/TalvikSkillsCoreTargets.cmake
                 ${LIBDIR}/talvik/TalvikSkills.ocx)
    if(NOT EXISTS ${staging}/${needed})
      message(FATAL_ERROR "not installed: ${needed}")
    endif()
  endforeach()
  file(GLOB_RECURSE sources RELATIVE ${staging} ${staging}/*.cpp)
  if(sources)
    message(FATAL_ERROR "sources installed: ${sources}")
  endif()

  # Relocatable: the configuration and the headers name no absolute path of this
  # machine (the build directory lies in the sources or elsewhere: both are checked).
  file(GLOB_RECURSE texts ${staging}/*.cmake ${staging}/*.h)
  foreach(file ${texts})
    file(READ ${file} text)
    foreach(path ${SOURCE_DIR} ${BUILD_DIR} ${staging})
      string(FIND "${text}" "${path}" at)
      if(NOT at EQUAL -1)
        message(FATAL_ERROR "${file} names ${path}")
      endif()
    endforeach()
  endforeach()
  file(RENAME ${staging} ${prefix})
  return()
endif()

set(consumer ${STEP})
set(expect_failure OFF)
set(extra)
if(STEP STREQUAL "core")
  set(extra -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON)
elseif(STEP STREQUAL "qt_without_qt")
  set(consumer qt)
  set(expect_failure ON)
  # As on a machine without Qt: nothing is found under the system's prefixes.
  set(extra "-DCMAKE_IGNORE_PREFIX_PATH=/usr\;/")
endif()

set(bin ${WORK_DIR}/${STEP})
file(REMOVE_RECURSE ${bin})
set(configure ${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/consumer/${consumer} -B ${bin} -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_CXX_FLAGS=${CXX_FLAGS}
    -DCMAKE_EXE_LINKER_FLAGS=${LINK_FLAGS} ${extra})
if(CXX_LAUNCHER)
  list(APPEND configure -DCMAKE_CXX_COMPILER_LAUNCHER=${CXX_LAUNCHER})
endif()

if(expect_failure)
  execute_process(COMMAND ${configure} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(rc EQUAL 0)
    message(FATAL_ERROR "configured although Qt 6 cannot be found:\n${out}")
  endif()
  if(NOT err MATCHES "TalvikSkillsConfig.cmake" OR NOT err MATCHES "Qt6Config.cmake")
    message(FATAL_ERROR "the failure names neither the package nor Qt 6:\n${err}")
  endif()
  message(STATUS "configuration refused without Qt 6: ok")
  return()
endif()

run("configure ${consumer}" ${configure})
run("build ${consumer}" ${CMAKE_COMMAND} --build ${bin})
run("run ${consumer}" ${bin}/${consumer}_consumer)
