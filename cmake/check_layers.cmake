# Checks that the layers of the source tree include only downwards:
#   platform < registry < trace < config < discovery < clean < cli, ui;  settings sits beside clean (it needs
#   the registry and the platform only), and no file outside platform/ and ui/ asks which OS it is built for.
# Run with `cmake -DQM_SOURCE_DIR=<src> -P check_layers.cmake`; fails naming every include that breaks a rule.

cmake_minimum_required(VERSION 3.20)

set(allowed_platform platform)
set(allowed_registry registry platform)
set(allowed_trace trace registry platform)
set(allowed_config config trace registry platform)
set(allowed_discovery discovery config trace registry platform)
set(allowed_settings settings registry platform)
set(allowed_clean clean discovery config trace registry platform settings)
set(allowed_cli cli clean discovery config trace registry platform settings)
set(allowed_ui ui clean discovery config trace registry platform settings)

file(GLOB_RECURSE sources RELATIVE ${QM_SOURCE_DIR} ${QM_SOURCE_DIR}/*.h ${QM_SOURCE_DIR}/*.cpp)
set(violations "")
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" layer "${source}")
  if(NOT DEFINED allowed_${layer})
    list(APPEND violations "${source}: the folder ${layer} is no known layer")
    continue()
  endif()
  file(STRINGS ${QM_SOURCE_DIR}/${source} lines REGEX "^[ \t]*#[ \t]*(include|if|ifdef|ifndef|elif)")
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]+\"([^/\"]+)/")
      if(NOT CMAKE_MATCH_1 IN_LIST allowed_${layer})
        list(APPEND violations "${source}: ${layer} may not include ${CMAKE_MATCH_1}: ${line}")
      endif()
    elseif(line MATCHES "_WIN32" AND NOT layer STREQUAL "platform" AND NOT layer STREQUAL "ui")
      list(APPEND violations "${source}: only platform/ and ui/ may ask for the OS: ${line}")
    endif()
  endforeach()
endforeach()

if(violations)
  string(REPLACE ";" "\n  " text "${violations}")
  message(FATAL_ERROR "layer rules broken:\n  ${text}")
endif()
