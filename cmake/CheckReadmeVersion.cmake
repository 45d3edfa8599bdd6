# A document (the README, the users' guide) names the packages in its examples with the project
# version: every package name Relingo-<version>-... in it must carry VERSION, and there must be
# one.
#   cmake -DREADME=... -DVERSION=... -P CheckReadmeVersion.cmake
file(READ ${README} text)
string(REGEX MATCHALL "Relingo-[0-9][0-9.]*[0-9]-" names "${text}")
if(NOT names)
    message(FATAL_ERROR "${README} names no package Relingo-<version>-...")
endif()
list(REMOVE_DUPLICATES names)
if(NOT names STREQUAL "Relingo-${VERSION}-")
    message(FATAL_ERROR "${README} names packages of other versions than ${VERSION}: ${names}")
endif()
