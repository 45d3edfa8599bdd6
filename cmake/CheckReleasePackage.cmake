# Makes the release package of a Windows build tree and checks it as its user would:
#   - the ZIP is named after the project version and the processor of the program inside, and
#     holds the program, the controls' COM server with its assembly manifest, the users' guide
#     and the licence, in one folder of the ZIP's name;
#   - the program and the server are stripped, for the same processor, and a debugger given the
#     program finds the debug file beside the ZIP through the program's debug link, with the
#     program's source lines; the server's debug file lies beside the program's;
#   - the program's version resource and manifest carry the project version;
#   - `sha256sum -c SHA256SUMS` passes;
# then makes the package once more from a copy of the sources in CHECK_DIR, in the tree of its own
# with the tests left out that tools/package makes for the PRESET, and requires the same bytes in
# every file.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DPACKAGE_DIR=... -DVERSION=... -DOBJDUMP=...
#         -DGDB=... -DPRESET=... -DCHECK_DIR=... -P CheckReleasePackage.cmake
include(${CMAKE_CURRENT_LIST_DIR}/SourceDateEpoch.cmake)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
    if(result)
        list(JOIN ARGN " " command)
        message(FATAL_ERROR "failed (${result}): ${command}")
    endif()
endfunction()

function(fail)
    string(JOIN "" text ${ARGN})
    message(FATAL_ERROR "${text}")
endfunction()

# The UTF-16LE bytes of an ASCII text, in the hexadecimal form of file(READ ... HEX).
function(utf16_hex variable text)
    string(HEX "${text}" hex)
    string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
    set(${variable} ${hex} PARENT_SCOPE)
endfunction()

# The 16-bit little-endian number at a character offset (an expression) of a hexadecimal text.
function(word_at variable hex offset)
    math(EXPR offset "${offset}")
    string(SUBSTRING "${hex}" ${offset} 4 bytes)
    string(SUBSTRING "${bytes}" 0 2 low)
    string(SUBSTRING "${bytes}" 2 2 high)
    math(EXPR value "0x${high}${low}")
    set(${variable} ${value} PARENT_SCOPE)
endfunction()

if(NOT GDB)
    fail("gdb was not found (Debian package gdb); install it and configure again")
endif()

# Both builds stamp what they write with the same time; the copy of the sources has no history.
relingo_source_date_epoch(epoch ${SOURCE_DIR})
set(ENV{SOURCE_DATE_EPOCH} ${epoch})
set(work ${BUILD_DIR}/package-check)
file(REMOVE_RECURSE ${work})

run(${CMAKE_COMMAND} --build ${BUILD_DIR} --target release_package)

file(GLOB zips RELATIVE ${PACKAGE_DIR} ${PACKAGE_DIR}/*.zip)
list(LENGTH zips count)
string(REPLACE "." "\\." version_pattern "${VERSION}")
if(NOT count EQUAL 1 OR NOT zips MATCHES "^Relingo-${version_pattern}-(x64|x86)\\.zip$")
    fail("expected one package Relingo-${VERSION}-<x64|x86>.zip in ${PACKAGE_DIR}, found: ${zips}")
endif()
set(arch ${CMAKE_MATCH_1})
set(name Relingo-${VERSION}-${arch})

# The checksums, as a user checks a download.
run(sha256sum --check --strict SHA256SUMS WORKING_DIRECTORY ${PACKAGE_DIR})
file(STRINGS ${PACKAGE_DIR}/SHA256SUMS sums)
if(NOT sums MATCHES "^[0-9a-f]+  ${name}\\.zip$")
    fail("SHA256SUMS does not cover exactly ${name}.zip: ${sums}")
endif()

# What the ZIP holds.
set(unpacked ${work}/unpacked)
file(MAKE_DIRECTORY ${unpacked})
run(${CMAKE_COMMAND} -E tar xf ${PACKAGE_DIR}/${name}.zip WORKING_DIRECTORY ${unpacked})
file(GLOB_RECURSE entries RELATIVE ${unpacked} ${unpacked}/*)
list(SORT entries)
set(expected ${name}/LICENSE ${name}/Relingo.exe ${name}/RelingoControls.manifest
    ${name}/RelingoControls.ocx ${name}/USING.md ${name}/docs/CONTROLS.md)
if(NOT entries STREQUAL expected)
    fail("${name}.zip holds ${entries}; expected ${expected}")
endif()
foreach(file IN ITEMS USING.md LICENSE docs/CONTROLS.md)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
        ${unpacked}/${name}/${file} ${SOURCE_DIR}/${file} RESULT_VARIABLE different)
    if(different)
        fail("the ${file} in ${name}.zip is not the source tree's")
    endif()
endforeach()
set(program ${unpacked}/${name}/Relingo.exe)
set(server ${unpacked}/${name}/RelingoControls.ocx)

foreach(binary IN ITEMS ${program} ${server})
    get_filename_component(file ${binary} NAME)
    # Built for the processor the name says.
    execute_process(COMMAND ${OBJDUMP} -f ${binary} OUTPUT_VARIABLE header)
    set(machine "")
    if(header MATCHES "file format pei-x86-64")
        set(machine x64)
    elseif(header MATCHES "file format pei-i386")
        set(machine x86)
    endif()
    if(NOT machine STREQUAL arch)
        fail("${name}.zip holds a ${file} for \"${machine}\": ${header}")
    endif()
    # Stripped: no symbols and no debug sections, only the link to the debug file.
    execute_process(COMMAND ${OBJDUMP} -h -t ${binary} OUTPUT_VARIABLE sections)
    if(NOT sections MATCHES "SYMBOL TABLE:[\r\n]+no symbols" OR sections MATCHES " \\.debug_")
        fail("${file} in ${name}.zip is not stripped:\n${sections}")
    endif()
endforeach()
if(NOT EXISTS ${PACKAGE_DIR}/RelingoControls-${VERSION}-${arch}.debug)
    fail("no debug file RelingoControls-${VERSION}-${arch}.debug beside ${name}.zip")
endif()

# A debugger finds the debug file beside the program (by name, with the right checksum) and the
# program's source lines in it, named relative to the source tree.
file(COPY ${PACKAGE_DIR}/${name}.debug DESTINATION ${unpacked}/${name})
# A C++ function: its name is the same in both builds, where the 32-bit entry point's is decorated.
execute_process(COMMAND ${GDB} -nx -batch -ex "info line relingo::win32::RunRelingo" ${program}
    OUTPUT_VARIABLE answer ERROR_VARIABLE answer)
if(NOT answer MATCHES "Line [0-9]+ of \"([^\"]*)\"")
    fail("gdb finds no source line of RunRelingo through ${name}.debug:\n${answer}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL "main_window/win32/RelingoProgram.cpp")
    fail("the debug information names a source by a folder of the build machine: "
        "${CMAKE_MATCH_1}")
endif()

# The version resource: the fixed part's numbers and the FileVersion and ProductVersion texts.
string(REGEX MATCHALL "[0-9]+" parts "${VERSION}")
list(APPEND parts 0 0 0)
list(SUBLIST parts 0 4 parts)
list(JOIN parts "." version4)
file(READ ${program} image HEX)
string(FIND "${image}" "bd04effe" fixed) # VS_FIXEDFILEINFO's signature 0xFEEF04BD
if(fixed LESS 0)
    fail("Relingo.exe has no version resource")
endif()
foreach(field IN ITEMS File Product)
    # dwFileVersionMS, dwFileVersionLS, dwProductVersionMS, dwProductVersionLS follow the
    # signature and dwStrucVersion: little-endian, each with the first of its two numbers in the
    # high half.
    if(field STREQUAL "File")
        math(EXPR ms "${fixed} + 16")
    else()
        math(EXPR ms "${fixed} + 32")
    endif()
    math(EXPR ls "${ms} + 8")
    word_at(major "${image}" ${ms}+4)
    word_at(minor "${image}" ${ms})
    word_at(patch "${image}" ${ls}+4)
    word_at(tweak "${image}" ${ls})
    if(NOT "${major}.${minor}.${patch}.${tweak}" STREQUAL version4)
        fail("the version resource's ${field}Version number is ${major}.${minor}.${patch}."
            "${tweak}, not ${version4}")
    endif()

    utf16_hex(key "${field}Version")
    utf16_hex(value "${VERSION}")
    string(FIND "${image}" "${key}0000" at)
    if(at LESS 0)
        fail("the version resource has no ${field}Version text")
    endif()
    string(LENGTH "${key}0000" length)
    math(EXPR at "${at} + ${length}")
    string(SUBSTRING "${image}" ${at} 200 text)
    # The text follows the key's end, after a padding to 32 bits.
    if(NOT text MATCHES "^(0000)?${value}0000")
        fail("the version resource's ${field}Version text is not \"${VERSION}\"")
    endif()
endforeach()

file(STRINGS ${program} manifest REGEX "assemblyIdentity|processorArchitecture")
string(REGEX MATCH "name=\"Relingo\"[^>]*" identity "${manifest}")
if(arch STREQUAL "x64")
    set(processor amd64)
else()
    set(processor x86)
endif()
string(REPLACE "." "\\." version4_pattern "${version4}")
if(NOT identity MATCHES "version=\"${version4_pattern}\"" OR
        NOT identity MATCHES "processorArchitecture=\"${processor}\"")
    fail("the manifest's identity is not version ${version4} for ${processor}: ${identity}")
endif()
# The controls' assembly, which a program's manifest names by version and processor.
file(READ ${unpacked}/${name}/RelingoControls.manifest assembly)
string(REGEX MATCH "name=\"RelingoControls\"[^>]*" identity "${assembly}")
if(NOT identity MATCHES "version=\"${version4_pattern}\"" OR
        NOT identity MATCHES "processorArchitecture=\"${processor}\"")
    fail("the controls' assembly is not version ${version4} for ${processor}: ${identity}")
endif()

# The same package from a second build: other source and build folders, another time. It is
# built in the copy of the sources the signed release's test uses, where tools/package builds it.
include(${CMAKE_CURRENT_LIST_DIR}/ReleaseCheckSources.cmake)
relingo_refresh_release_copy(${SOURCE_DIR} ${CHECK_DIR})
set(copy ${CHECK_DIR}/source)
set(tree ${copy}/build/release-${PRESET})
execute_process(COMMAND ${CMAKE_COMMAND} --preset ${PRESET} -B ${tree} -DRELINGO_BUILD_TESTS=OFF
        -DRELINGO_SIGN_COMMAND=
    WORKING_DIRECTORY ${copy} OUTPUT_QUIET RESULT_VARIABLE result)
if(result)
    fail("the copy of the sources in ${copy} does not configure with the preset ${PRESET}")
endif()
run(${CMAKE_COMMAND} --build ${tree} --target release_package)

file(GLOB first RELATIVE ${PACKAGE_DIR} ${PACKAGE_DIR}/*)
file(GLOB second RELATIVE ${tree}/package ${tree}/package/*)
if(NOT first STREQUAL second)
    fail("the second build made ${second}; the first made ${first}")
endif()
set(different "")
foreach(file IN LISTS first)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
        ${PACKAGE_DIR}/${file} ${tree}/package/${file} RESULT_VARIABLE result)
    if(result)
        list(APPEND different ${file})
    endif()
endforeach()
if(different)
    list(JOIN different ", " different)
    fail("two builds of the same sources differ in ${different} (compare ${PACKAGE_DIR} with "
        "${tree}/package)")
endif()

foreach(file IN LISTS first)
    file(SIZE ${PACKAGE_DIR}/${file} size)
    message(STATUS "${file}: ${size} bytes, the same in both builds")
endforeach()
file(SIZE ${program} size)
message(STATUS "Relingo.exe (stripped): ${size} bytes")
file(REMOVE_RECURSE ${work})
