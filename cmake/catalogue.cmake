# Builds the shipped catalogue from the plain sources under data/, enciphered by the program's own cipher
# (`quillmere-cli encrypt`):
#   PrivacyConfig.dat   the lines of data/root/*.txt (in file-name order), then those of data/plugins/*.txt
#                       in the display order of their configurations (by upper-cased "Software:" name), so
#                       that loading and saving the catalogue gives back the same file
#   plugins/NAME.pc     the lines of data/plugins/NAME.txt
# both beside the programs in the build folder. Stored lines end with CR LF, whatever the platform.
#
# Included from the top-level CMakeLists.txt it defines the build step; run with `cmake -P` it is the step:
#   -DQM_CLI=<program;emulator...> -DQM_PATH_PREFIX=<prefix for source paths> -DQM_OUTPUT=<file>
#   -DQM_SOURCES=<file|file|...>

if(CMAKE_SCRIPT_MODE_FILE)
  string(REPLACE "|" ";" sources "${QM_SOURCES}")
  set(content "")
  foreach(source IN LISTS sources)
    if(source STREQUAL "")
      continue()
    endif()
    execute_process(COMMAND ${QM_CLI} encrypt "${QM_PATH_PREFIX}${source}"
                    OUTPUT_VARIABLE lines RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "enciphering ${source} failed (${status}): ${errors}")
    endif()
    # The program may end its lines with LF or CR LF; the catalogue's own form is CR LF.
    string(REPLACE "\r" "" lines "${lines}")
    string(REPLACE "\n" "\r\n" lines "${lines}")
    string(APPEND content "${lines}")
  endforeach()
  # Written beside the target and renamed over it, so an interrupted build never leaves half a catalogue.
  file(WRITE "${QM_OUTPUT}.tmp" "${content}")
  file(RENAME "${QM_OUTPUT}.tmp" "${QM_OUTPUT}")
  return()
endif()

file(GLOB QM_CATALOGUE_ROOT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/root/*.txt)
file(GLOB QM_CATALOGUE_PLUGIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/plugins/*.txt)
list(SORT QM_CATALOGUE_ROOT_SOURCES)
set(qm_sort_keys "")
foreach(source IN LISTS QM_CATALOGUE_PLUGIN_SOURCES)
  file(STRINGS ${source} software REGEX "^Software:" LIMIT_COUNT 1)
  string(TOUPPER "${software}" software)
  # A tab sorts before every character of a name, so a name sorts before its own extensions.
  list(APPEND qm_sort_keys "${software}\t${source}")
endforeach()
list(SORT qm_sort_keys)
set(QM_CATALOGUE_PLUGIN_SOURCES "")
foreach(key IN LISTS qm_sort_keys)
  string(REGEX REPLACE "^[^\t]*\t" "" source "${key}")
  list(APPEND QM_CATALOGUE_PLUGIN_SOURCES ${source})
endforeach()
# The order depends on the names inside the files: a changed name re-runs the configuration.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QM_CATALOGUE_PLUGIN_SOURCES})

# The cross build runs the Windows program through its emulator; Wine reaches Linux paths through Z:.
set(qm_cli_command ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:quillmere-cli>)
set(qm_path_prefix "")
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(qm_path_prefix "Z:")
endif()
set(qm_catalogue_script ${CMAKE_CURRENT_LIST_FILE})

function(qm_encipher output)
  set(sources ${ARGN})
  string(REPLACE ";" "|" joined "${sources}")
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} "-DQM_CLI=${qm_cli_command}" "-DQM_PATH_PREFIX=${qm_path_prefix}"
            "-DQM_OUTPUT=${output}" "-DQM_SOURCES=${joined}" -P ${qm_catalogue_script}
    DEPENDS quillmere-cli ${sources} ${qm_catalogue_script}
    COMMENT "Enciphering ${output}"
    VERBATIM)
endfunction()

set(qm_catalogue_outputs ${CMAKE_BINARY_DIR}/PrivacyConfig.dat)
qm_encipher(${CMAKE_BINARY_DIR}/PrivacyConfig.dat ${QM_CATALOGUE_ROOT_SOURCES} ${QM_CATALOGUE_PLUGIN_SOURCES})
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/plugins)
foreach(source IN LISTS QM_CATALOGUE_PLUGIN_SOURCES)
  get_filename_component(name ${source} NAME_WE)
  set(output ${CMAKE_BINARY_DIR}/plugins/${name}.pc)
  qm_encipher(${output} ${source})
  list(APPEND qm_catalogue_outputs ${output})
endforeach()
add_custom_target(catalogue ALL DEPENDS ${qm_catalogue_outputs})
