# Builds the Debian package, unpacks it and checks what it would install: the
# control fields, the files, the packaged renderer drawing an equation file,
# the desktop entry and the file type.
# cmake -DCPACK=<cpack> -DBUILD=<build folder> -DSAMPLE=<an equation file>
#       -DWORK=<scratch folder> -P package_check.cmake
# A machine without Debian's packaging or desktop tools skips the check (the
# test's skip expression matches the line printed then); setup.sh installs them.
set(missing "")
foreach(tool dpkg-deb desktop-file-validate xmllint update-mime-database)
  find_program(tool_${tool} ${tool})
  if(NOT tool_${tool})
    list(APPEND missing ${tool})
  endif()
endforeach()
if(missing)
  message("PACKAGE CHECK SKIPPED: not installed: ${missing}")
  return()
endif()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# run(<command> <args>...): fails the check unless the command exits with 0;
# sets OUT to its standard output and ERR to its standard error.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN}: exit ${rc}\n${out}${err}")
  endif()
  set(OUT "${out}" PARENT_SCOPE)
  set(ERR "${err}" PARENT_SCOPE)
endfunction()

# expect(<message> <condition>...): fails the check with the message unless
# the condition (as for if()) holds.
function(expect message_text)
  if(${ARGN})
  else()
    message(FATAL_ERROR "${message_text}")
  endif()
endfunction()

# The package, built into the scratch folder so that a package made by hand
# in the build folder is neither used nor replaced.
include("${BUILD}/CPackConfig.cmake") # the version and names the package must carry
run("${CPACK}" -G DEB --config "${BUILD}/CPackConfig.cmake" -B "${WORK}/out")
file(GLOB debs "${WORK}/out/*.deb")
list(LENGTH debs count)
expect("expected one package, found: ${debs}" count EQUAL 1)
get_filename_component(deb_name "${debs}" NAME)
expect("unexpected package file name ${deb_name}"
       deb_name MATCHES "^graphotheque_${CPACK_PACKAGE_VERSION}-1_[a-z0-9]+\\.deb$")

# --- control fields ---
function(control_field field var)
  run("${tool_dpkg-deb}" --field "${debs}" ${field})
  string(STRIP "${OUT}" value)
  set(${var} "${value}" PARENT_SCOPE)
endfunction()
control_field(Package package)
control_field(Version version)
control_field(Depends depends)
control_field(Recommends recommends)
control_field(Section section)
control_field(Maintainer maintainer)
control_field(Description description)
expect("Package: ${package}" package STREQUAL "graphotheque")
expect("Version: ${version}" version STREQUAL "${CPACK_PACKAGE_VERSION}-1")
expect("Section: ${section}" section MATCHES "^(education|science)$")
expect("Maintainer: ${maintainer}" maintainer MATCHES "^[^<>]+ <[^<>@]+@[^<>@]+>$")
expect("Description has no long part: ${description}" description MATCHES "\n .*equation file")
foreach(dependency libc6 libstdc\\+\\+6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins
                   fonts-ipafont-gothic)
  expect("Depends lacks ${dependency}: ${depends}" depends MATCHES "(^|[,|] *)${dependency}( |,|$)")
endforeach()
expect("Recommends: ${recommends}" recommends MATCHES "(^|, )qt6-translations-l10n(,|$)")

# --- files ---
set(root "${WORK}/root")
run("${tool_dpkg-deb}" --extract "${debs}" "${root}")
set(share "${root}/usr/share")
foreach(path usr/bin/graphotheque usr/bin/graphotheque-render usr/share/applications/graphotheque.desktop
             usr/share/mime/packages/graphotheque.xml usr/share/icons/hicolor/scalable/apps/graphotheque.svg
             usr/share/man/man1/graphotheque.1.gz usr/share/man/man1/graphotheque-render.1.gz)
  expect("the package lacks /${path}" EXISTS "${root}/${path}")
endforeach()
# Each icon is a PNG of its folder's size (width and height are big-endian at
# offsets 16 and 20).
foreach(size 16 24 32 48 64 128 256)
  set(icon "${share}/icons/hicolor/${size}x${size}/apps/graphotheque.png")
  expect("the package lacks ${icon}" EXISTS "${icon}")
  file(READ "${icon}" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 32 16 dimensions)
  math(EXPR want "${size}" OUTPUT_FORMAT HEXADECIMAL)
  string(REGEX REPLACE "^0x" "0000000" want "${want}")
  string(REGEX MATCH "........$" want "${want}")
  expect("${icon} is not a ${size} x ${size} PNG: ${header}"
         header MATCHES "^89504e47" AND dimensions STREQUAL "${want}${want}")
endforeach()

# --- the packaged renderer draws the sample document ---
set(render "${root}/usr/bin/graphotheque-render")
run("${render}" "${SAMPLE}" "${WORK}/all-kinds.png")
file(READ "${WORK}/all-kinds.png" signature LIMIT 8 HEX)
expect("all-kinds.png is not a PNG file: ${signature}" signature STREQUAL "89504e470d0a1a0a")
# A 200 x 200 BMP has rows without padding at 24 and at 32 bits per pixel.
run("${render}" --size 200 "${SAMPLE}" "${WORK}/all-kinds.bmp")
file(READ "${WORK}/all-kinds.bmp" header LIMIT 30 HEX)
string(SUBSTRING "${header}" 36 16 dimensions)
string(SUBSTRING "${header}" 56 4 bits)
expect("all-kinds.bmp is not a 200 x 200 BMP: ${header}"
       header MATCHES "^424d" AND dimensions STREQUAL "c8000000c8000000")
string(SUBSTRING "${header}" 20 8 offset_hex)
string(REGEX REPLACE "(..)(..)(..)(..)" "0x\\4\\3\\2\\1" offset_hex "${offset_hex}")
math(EXPR offset "${offset_hex}")
file(READ "${WORK}/all-kinds.bmp" pixels OFFSET ${offset} HEX)
if(bits STREQUAL "2000")
  string(REGEX MATCHALL "......(..)" colours "${pixels}")
  list(TRANSFORM colours REPLACE "^(......)..$" "\\1")
else()
  string(REGEX MATCHALL "......" colours "${pixels}")
endif()
list(REMOVE_DUPLICATES colours)
# The document's items are drawn in colours: at least one pixel is not grey.
set(coloured FALSE)
foreach(colour ${colours})
  if(NOT colour MATCHES "^(..)\\1\\1$")
    set(coloured TRUE)
  endif()
endforeach()
expect("all-kinds.bmp has no coloured pixel (colours: ${colours})" coloured)

# --- the desktop entry, valid and naming what the package installs ---
set(entry "${share}/applications/graphotheque.desktop")
run("${tool_desktop-file-validate}" "${entry}")
# Hints (such as a program listed under two main categories) are allowed.
set(validation "${OUT}${ERR}")
expect("desktop-file-validate: ${validation}" NOT validation MATCHES "error:|warning:")
file(STRINGS "${entry}" exec REGEX "^Exec=")
file(STRINGS "${entry}" icon REGEX "^Icon=")
file(STRINGS "${entry}" mime_types REGEX "^MimeType=")
expect("${exec}" exec STREQUAL "Exec=graphotheque %f" AND EXISTS "${root}/usr/bin/graphotheque")
expect("${icon}" icon STREQUAL "Icon=graphotheque")

# --- the file type: well-formed, and it knows the sample by name and by content ---
set(mime_xml "${share}/mime/packages/graphotheque.xml")
run("${tool_xmllint}" --noout "${mime_xml}" "${share}/icons/hicolor/scalable/apps/graphotheque.svg")
file(READ "${mime_xml}" xml)
string(REGEX MATCH "<mime-type type=\"([^\"]+)\"" _ "${xml}")
set(type "${CMAKE_MATCH_1}")
expect("the desktop entry does not open ${type}: ${mime_types}" mime_types MATCHES "[=;]${type};")
file(MAKE_DIRECTORY "${WORK}/mime/packages")
file(COPY "${mime_xml}" DESTINATION "${WORK}/mime/packages")
run("${tool_update-mime-database}" "${WORK}/mime")
file(STRINGS "${WORK}/mime/globs2" globs REGEX ":${type}:")
expect("no glob for ${type}: ${globs}" globs MATCHES ":\\*\\.gtq$")
set(marker "[Graphotheque Data]")
string(HEX "${marker}" marker_hex)
string(LENGTH "${marker}" marker_length)
file(READ "${SAMPLE}" sample_start LIMIT ${marker_length} HEX)
expect("the sample does not start with ${marker}" sample_start STREQUAL "${marker_hex}")
file(READ "${WORK}/mime/magic" magic HEX) # binary: a rule's value follows its length
string(HEX ":${type}]" type_hex)
string(FIND "${magic}" "${type_hex}" type_at)
string(FIND "${magic}" "${marker_hex}" marker_at)
expect("no magic for ${type} matching the sample's first line" NOT type_at EQUAL -1 AND marker_at GREATER type_at)
