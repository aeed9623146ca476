# What players get: one version for everything, a VERSIONINFO in each
# program, and the release zip (README.md, "Release").
#
# The version is project(... VERSION ...) in the top CMakeLists.txt and
# nowhere else. Version.h carries it to the code and the resource scripts;
# the zip takes its name from it.
foreach(part MAJOR MINOR PATCH TWEAK)
  set(VALTEA_VERSION_${part} "${PROJECT_VERSION_${part}}")
  if(VALTEA_VERSION_${part} STREQUAL "")
    set(VALTEA_VERSION_${part} 0)
  endif()
endforeach()
set(VALTEA_GENERATED_DIR "${PROJECT_BINARY_DIR}/generated")
configure_file("${PROJECT_SOURCE_DIR}/src/Version.h.in" "${VALTEA_GENERATED_DIR}/Version.h" @ONLY)
configure_file("${PROJECT_SOURCE_DIR}/src/resources/Valtea.manifest.in" "${VALTEA_GENERATED_DIR}/Valtea.manifest" @ONLY)

add_library(valtea_version INTERFACE)
target_include_directories(valtea_version INTERFACE "${VALTEA_GENERATED_DIR}")

# valtea_shipped_program(TARGET VERSION_SCRIPT): makes TARGET a program that
# players get. VERSION_SCRIPT (a full path) defines its description and file
# name and includes src/resources/VersionInfo.rc2. The program is stripped:
# players have no use for symbols.
function(valtea_shipped_program target script)
  set(resources ${target}_version_info)
  add_library(${resources} OBJECT "${script}")
  target_link_libraries(${resources} PRIVATE valtea_version)
  # windres reports no dependencies of its own.
  set_property(SOURCE "${script}" APPEND PROPERTY OBJECT_DEPENDS
    "${PROJECT_SOURCE_DIR}/src/resources/VersionInfo.rc2" "${VALTEA_GENERATED_DIR}/Version.h")
  target_link_libraries(${target} PRIVATE ${resources})
  target_link_options(${target} PRIVATE -s)
  set_property(GLOBAL APPEND PROPERTY VALTEA_SHIPPED_PROGRAMS ${target})
endfunction()

# valtea_release(): once every program exists. The command-line companion is
# shipped when there is one; the Wine test of the VERSIONINFO reads the
# shipped programs' files (drive Z: is the root); the zip holds them.
function(valtea_release)
  if(TARGET valtea-map)
    valtea_shipped_program(valtea-map "${PROJECT_SOURCE_DIR}/src/resources/MapToolVersion.rc")
  endif()
  get_property(programs GLOBAL PROPERTY VALTEA_SHIPPED_PROGRAMS)

  if(TARGET win_version_info_test)
    target_link_libraries(win_version_info_test PRIVATE version)
    target_compile_definitions(win_version_info_test PRIVATE VALTEA_EDITOR_EXE=L"Z:$<TARGET_FILE:ValteaRoadEditor>")
    if(TARGET valtea-map)
      target_compile_definitions(win_version_info_test PRIVATE VALTEA_MAP_EXE=L"Z:$<TARGET_FILE:valtea-map>")
    endif()
    add_dependencies(win_version_info_test ${programs})
  endif()

  valtea_release_zip(${programs})
endfunction()

# valtea_release_zip(PROGRAMS...): the target `dist`, which writes
# dist/ValteaRoadEditor-<version>-win64.zip, and, with the tests, the test
# `release_zip` of the same zip.
function(valtea_release_zip)
  set(programs ${ARGN})
  set(release "${PROJECT_SOURCE_DIR}/docs/release")
  set(guide "${release}/guide.ja.txt")
  if(valtea-map IN_LIST programs)
    list(APPEND guide "${release}/valtea-map.ja.txt")
  endif()
  set(licence "${PROJECT_SOURCE_DIR}/LICENSE" "${release}/third-party-notices.txt")
  set(sample "${PROJECT_SOURCE_DIR}/samples/MAPDATA.VLT")

  set(folder "ValteaRoadEditor-${PROJECT_VERSION}")
  set(arguments --folder "${folder}" --version "${PROJECT_VERSION}" --sample "${sample}")
  foreach(program IN LISTS programs)
    list(APPEND arguments --program "$<TARGET_FILE:${program}>")
  endforeach()
  foreach(text IN LISTS guide)
    list(APPEND arguments --guide "${text}")
  endforeach()
  foreach(text IN LISTS licence)
    list(APPEND arguments --licence "${text}")
  endforeach()

  set(make_zip "${PROJECT_SOURCE_DIR}/scripts/make-zip.sh")
  set(zip "${PROJECT_BINARY_DIR}/dist/${folder}-win64.zip")
  add_custom_command(OUTPUT "${zip}"
    COMMAND bash "${make_zip}" --output "${zip}" ${arguments}
    DEPENDS ${programs} ${guide} ${licence} "${sample}" "${make_zip}"
    COMMENT "Writing ${zip}"
    VERBATIM)
  add_custom_target(dist DEPENDS "${zip}")

  if(VALTEA_TESTS)
    add_test(NAME release_zip COMMAND bash "${PROJECT_SOURCE_DIR}/tests/release/zip_test.sh" ${arguments})
    set_tests_properties(release_zip PROPERTIES LABELS "release" TIMEOUT 120)
  endif()
endfunction()
