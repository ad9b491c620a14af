# Fails unless README stands for VERSION in its one statement of the release: "The current release is
# Ambervale x.y.z". Run with -DREADME= -DVERSION=; tools/package.sh and the tests both run it.
file(READ ${README} text)
string(REGEX MATCHALL "The current release is Ambervale [0-9]+\\.[0-9]+\\.[0-9]+" statements "${text}")
list(LENGTH statements count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "${README} should state the current release exactly once; it does ${count} times")
endif()
string(REGEX REPLACE ".* " "" stated "${statements}")
if(NOT stated STREQUAL VERSION)
  message(FATAL_ERROR "${README} states release ${stated}, but the project's version is ${VERSION}")
endif()
