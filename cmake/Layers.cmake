# The folders are layers, one static library each, linked in one direction only:
#
#   base  <-  printer  <-  logging  <-  history  <-  mainwindow  <-  app
#                                       history  <-  glance  <-------'
#                          logging  <-  eventlog  <------------------'
#             printer  <-  asking  <-  snmp  <-----------------------'
#                          asking  <-  ipp   <-----------------------'
#                          eventlog  <-  tray  <-----'
#   base  <-  startup  <-----------------------------'
#   base  <-  startup  <-  installer (the uninstaller's actions; the packages are made of the program)
#
# A library sees the headers of its own folder and of the libraries it links, and no others. Its headers are reached
# through a tree of forwarding headers made for its folder alone (<build>/layers/<folder>/<folder>/X.h includes the
# real X.h), and no target has the source root on its include path, so an #include against the direction of the
# layers fails to build.

# The ways of asking the printer itself, each a folder above asking/; app links them all.
set(AMBERVALE_PROTOCOLS snmp ipp)
# In the order they are built; the tests mirror them folder for folder.
set(AMBERVALE_LAYERS base printer asking ${AMBERVALE_PROTOCOLS} logging eventlog history glance tray startup mainwindow app
    installer)

add_library(ambervale_warnings INTERFACE)
if(MSVC)
  target_compile_options(ambervale_warnings INTERFACE /W4 /WX /permissive- /utf-8)
else()
  target_compile_options(ambervale_warnings INTERFACE -Wall -Wextra -Werror)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 reports overlapping copies inside std::string's own inlined code at -O3 (GCC bug 105329).
    target_compile_options(ambervale_warnings INTERFACE -Wno-restrict)
  endif()
endif()

# ambervale_layer(<folder> SOURCES <portable...> [WINDOWS_SOURCES <adapters...>] [DEPENDS <layers...>]
#                 [WINDOWS_LIBRARIES <system libraries...>])
function(ambervale_layer folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;WINDOWS_SOURCES;DEPENDS;WINDOWS_LIBRARIES")
  set(target ambervale_${folder})
  add_library(${target} STATIC ${arg_SOURCES})
  foreach(layer IN LISTS arg_DEPENDS)
    target_link_libraries(${target} PUBLIC ambervale_${layer})
  endforeach()
  target_link_libraries(${target} PRIVATE ambervale_warnings)
  if(WIN32)
    target_sources(${target} PRIVATE ${arg_WINDOWS_SOURCES})
    target_link_libraries(${target} PUBLIC ${arg_WINDOWS_LIBRARIES})
  endif()

  set(tree ${CMAKE_BINARY_DIR}/layers/${folder})
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  foreach(header IN LISTS headers)
    get_filename_component(name ${header} NAME)
    file(GENERATE OUTPUT ${tree}/${folder}/${name} CONTENT "#include \"${header}\"\n")
  endforeach()
  target_include_directories(${target} PUBLIC ${tree})
endfunction()
