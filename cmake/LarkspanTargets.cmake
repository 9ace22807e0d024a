# Shared settings for every Larkspan target, so warnings and naming stay uniform.

function(larkspan_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion)
  if(LARKSPAN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# larkspan_add_library(<name> SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# Creates larkspan_<name> with the alias larkspan::<name>; includes resolve from the source root.
function(larkspan_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(larkspan_${name} STATIC ${ARG_SOURCES})
  add_library(larkspan::${name} ALIAS larkspan_${name})
  target_include_directories(larkspan_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(larkspan_${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  larkspan_set_warnings(larkspan_${name})
endfunction()
