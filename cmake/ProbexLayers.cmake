# The layers of the product, kept by the include path: a target sees the
# headers of the libraries it links and no others.  The source folders are
# never on the include path; instead each library gets two folders of
# symbolic links in the build tree, made at configure time:
#
#   ${PROJECT_BINARY_DIR}/interface/<target>/<folder>/  its public headers,
#       the library's PUBLIC include directory;
#   ${PROJECT_BINARY_DIR}/internal/<target>/<folder>/   its other headers,
#       a PRIVATE include directory of its own sources;
#
# where <folder> is the library's source folder relative to the top
# ("calculator"), so that an include keeps its spelling
# (#include "calculator/Functions.h") and a link always shows the header as
# it stands.  An include of a header of a library that the target does not
# link, or of another library's private header, fails to compile.
#
# A library links PUBLIC only what its public headers include.

# probex_header_links(<dir> <header>...): <dir>/<folder>/ holds links to the
# given headers of the current source folder, and nothing else.
function(probex_header_links dir)
  get_filename_component(top "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/.." ABSOLUTE)
  file(RELATIVE_PATH folder ${top} ${CMAKE_CURRENT_SOURCE_DIR})
  file(REMOVE_RECURSE ${dir})
  file(MAKE_DIRECTORY ${dir}/${folder})
  foreach(header IN LISTS ARGN)
    if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${header})
      message(FATAL_ERROR "${folder}/${header}: no such header")
    endif()
    get_filename_component(parent ${dir}/${folder}/${header} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${dir}/${folder}/${header} SYMBOLIC)
  endforeach()
endfunction()

# probex_layer(<library> PUBLIC <header>... [PRIVATE <header>...])
#
# The include folders of <library>, one of the current source folder.
# Without PRIVATE every header of the folder that is not public is private
# (a folder of several libraries names each one's private headers).
#
# Also <library>_internals, for the library's own tests: the library with
# its private headers and its private dependencies.  The folder of private
# headers is the library's property PROBEX_INTERNAL_DIR.
function(probex_layer library)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "PUBLIC;PRIVATE")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "probex_layer(${library}): unexpected ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if("PRIVATE" IN_LIST ARGN)
    set(private ${arg_PRIVATE})
  else()
    file(GLOB private RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(arg_PUBLIC)
      list(REMOVE_ITEM private ${arg_PUBLIC})
    endif()
  endif()
  set(interface ${PROJECT_BINARY_DIR}/interface/${library})
  set(internal ${PROJECT_BINARY_DIR}/internal/${library})
  probex_header_links(${interface} ${arg_PUBLIC})
  probex_header_links(${internal} ${private})
  target_include_directories(${library} PUBLIC ${interface} PRIVATE ${internal})
  set_property(TARGET ${library} PROPERTY PROBEX_INTERNAL_DIR ${internal})

  add_library(${library}_internals INTERFACE)
  target_include_directories(${library}_internals INTERFACE ${internal})
  target_link_libraries(${library}_internals
    INTERFACE ${library} "$<TARGET_PROPERTY:${library},LINK_LIBRARIES>")
endfunction()

# probex_own_headers(<target> <header>...): a program or test whose sources
# include headers of their own folder by the path from the top
# (#include "bench/BenchRegistry.h") sees those headers.
function(probex_own_headers target)
  set(dir ${PROJECT_BINARY_DIR}/internal/${target})
  probex_header_links(${dir} ${ARGN})
  target_include_directories(${target} PRIVATE ${dir})
endfunction()
