# Runs graphotheque-render on small documents and checks exit codes, messages
# and the pictures written.
# cmake -DTOOL=<graphotheque-render> -DWORK=<scratch folder> -P render_tool_test.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# run(<expected exit code> <args>...): sets LAST_ERR to the tool's stderr.
function(run expected)
  execute_process(COMMAND "${TOOL}" ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc STREQUAL "${expected}")
    message(FATAL_ERROR "graphotheque-render ${ARGN}: exit ${rc}, expected ${expected}\n${err}")
  endif()
  set(LAST_ERR "${err}" PARENT_SCOPE)
endfunction()

function(expect_err pattern)
  if(NOT LAST_ERR MATCHES "${pattern}")
    message(FATAL_ERROR "stderr does not match '${pattern}': ${LAST_ERR}")
  endif()
endfunction()

# Little-endian 32-bit value at offset of a file.
function(read_u32 path offset var)
  file(READ "${path}" hex OFFSET ${offset} LIMIT 4 HEX)
  string(SUBSTRING "${hex}" 6 2 b3)
  string(SUBSTRING "${hex}" 4 2 b2)
  string(SUBSTRING "${hex}" 2 2 b1)
  string(SUBSTRING "${hex}" 0 2 b0)
  math(EXPR value "0x${b3}${b2}${b1}${b0}")
  set(${var} ${value} PARENT_SCOPE)
endfunction()

# A red horizontal segment (-4, 2)-(4, 2), pen width 3, in the default frame.
set(good "[Graphotheque Data]\r\n-5\r\n5\r\n-5\r\n5\r\n0\r\n0\r\n0\r\n0\r\n0\r\n")
string(APPEND good "deffunc\r\n0\r\ndefconst\r\n0\r\n1\r\n")
string(APPEND good "6\r\n-4\r\n2\r\n4\r\n2\r\nFalse\r\nTrue\r\n255\r\n3\r\n")
file(WRITE "${WORK}/good.gtq" "${good}")
string(REPLACE "\r\n5\r\n-5\r\n" "\r\n5\r\nfive\r\n" broken "${good}")
file(WRITE "${WORK}/broken.gtq" "${broken}")
file(WRITE "${WORK}/other.gtq" "hello\r\n")

# PNG by extension, default size.
run(0 "${WORK}/good.gtq" "${WORK}/out.png")
file(READ "${WORK}/out.png" sig LIMIT 4 HEX)
if(NOT sig STREQUAL "89504e47")
  message(FATAL_ERROR "out.png is not a PNG file: ${sig}")
endif()

# BMP with a chosen size; the picture has that size and shows the segment.
run(0 --size 101 "${WORK}/good.gtq" "${WORK}/out.bmp")
file(READ "${WORK}/out.bmp" sig LIMIT 2 HEX)
read_u32("${WORK}/out.bmp" 18 width)
read_u32("${WORK}/out.bmp" 22 height)
if(NOT sig STREQUAL "424d" OR NOT width EQUAL 101 OR NOT height EQUAL 101)
  message(FATAL_ERROR "out.bmp: signature ${sig}, size ${width} x ${height}")
endif()
read_u32("${WORK}/out.bmp" 10 dataOffset)
file(READ "${WORK}/out.bmp" bpp OFFSET 28 LIMIT 2 HEX)
if(bpp STREQUAL "1800")
  set(bytesPerPixel 3)
elseif(bpp STREQUAL "2000")
  set(bytesPerPixel 4)
else()
  message(FATAL_ERROR "out.bmp: unexpected bits per pixel ${bpp}")
endif()
math(EXPR rowSize "((101 * ${bytesPerPixel} + 3) / 4) * 4")
# World y = 2 is about 30 pixels from the top, x = 0 is column 50: one of the
# rows 28..32 of that column must be red (B, G, R = 0, 0, 255).
set(found FALSE)
foreach(row RANGE 28 32)
  math(EXPR offset "${dataOffset} + (100 - ${row}) * ${rowSize} + 50 * ${bytesPerPixel}")
  file(READ "${WORK}/out.bmp" pixel OFFSET ${offset} LIMIT 3 HEX)
  if(pixel STREQUAL "0000ff")
    set(found TRUE)
  endif()
endforeach()
if(NOT found)
  message(FATAL_ERROR "the red segment is not in column 50 of out.bmp")
endif()
# ... and the far corner, away from every axis and the segment, stays white.
math(EXPR offset "${dataOffset} + 5 * ${bytesPerPixel}")
file(READ "${WORK}/out.bmp" pixel OFFSET ${offset} LIMIT 3 HEX)
if(NOT pixel STREQUAL "ffffff")
  message(FATAL_ERROR "pixel (5, 100) of out.bmp is ${pixel}, expected white")
endif()

# A broken file: one line naming the line, exit 1, the old picture kept.
file(WRITE "${WORK}/keep.bmp" "old picture")
run(1 "${WORK}/broken.gtq" "${WORK}/keep.bmp")
expect_err("4行目")
string(REGEX MATCHALL "\n" newlines "${LAST_ERR}")
list(LENGTH newlines lineCount)
if(NOT lineCount EQUAL 1)
  message(FATAL_ERROR "expected one line on stderr: ${LAST_ERR}")
endif()
file(READ "${WORK}/keep.bmp" kept)
if(NOT kept STREQUAL "old picture")
  message(FATAL_ERROR "a failed run replaced the output file")
endif()
run(1 "${WORK}/other.gtq" "${WORK}/x.bmp")
expect_err("1行目")
run(1 "${WORK}/missing.gtq" "${WORK}/x.bmp")
run(1 "${WORK}/good.gtq" "${WORK}/no-such-folder/x.bmp")
if(EXISTS "${WORK}/x.bmp")
  message(FATAL_ERROR "a failed run wrote x.bmp")
endif()

# Bad arguments: usage line, exit 2.
run(2)
expect_err("usage: graphotheque-render")
run(2 "${WORK}/good.gtq")
run(2 "${WORK}/good.gtq" "${WORK}/x.jpg")
run(2 --size "${WORK}/good.gtq" "${WORK}/x.bmp")
run(2 --size abc "${WORK}/good.gtq" "${WORK}/x.bmp")
run(2 --size 5 "${WORK}/good.gtq" "${WORK}/x.bmp")
run(2 --colour red "${WORK}/good.gtq" "${WORK}/x.bmp")
run(2 "${WORK}/good.gtq" "${WORK}/x.bmp" "${WORK}/y.bmp")
run(0 --size=64 "${WORK}/good.gtq" "${WORK}/X.BMP")

# --- Calculus options: the interval band, its maxima and minima, Riemann sums.
# run_out(<expected exit code> <args>...): sets LAST_OUT and LAST_ERR.
function(run_out expected)
  execute_process(COMMAND "${TOOL}" ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc STREQUAL "${expected}")
    message(FATAL_ERROR "graphotheque-render ${ARGN}: exit ${rc}, expected ${expected}\n${out}${err}")
  endif()
  set(LAST_OUT "${out}" PARENT_SCOPE)
  set(LAST_ERR "${err}" PARENT_SCOPE)
endfunction()

function(expect_out text)
  if(NOT LAST_OUT STREQUAL "${text}")
    message(FATAL_ERROR "stdout is not '${text}': '${LAST_OUT}'")
  endif()
endfunction()

# B, G, R of pixel (col, row) of a 24- or 32-bit bottom-up BMP of the given size.
function(bmp_pixel path size col row var)
  read_u32("${path}" 10 dataOffset)
  file(READ "${path}" bpp OFFSET 28 LIMIT 2 HEX)
  set(bytes 3)
  if(bpp STREQUAL "2000")
    set(bytes 4)
  endif()
  math(EXPR rowSize "((${size} * ${bytes} + 3) / 4) * 4")
  math(EXPR offset "${dataOffset} + (${size} - 1 - ${row}) * ${rowSize} + ${col} * ${bytes}")
  file(READ "${path}" pixel OFFSET ${offset} LIMIT 3 HEX)
  set(${var} ${pixel} PARENT_SCOPE)
endfunction()

# A document of one explicit function f.
function(one_function path f)
  set(doc "[Graphotheque Data]\r\n-5\r\n5\r\n-5\r\n5\r\n0\r\n0\r\n0\r\n0\r\n0\r\n")
  string(APPEND doc "deffunc\r\n0\r\ndefconst\r\n0\r\n1\r\n")
  string(APPEND doc "1\r\n${f}\r\n\r\n\r\n\r\nTrue\r\nTrue\r\n0\r\n1\r\n")
  file(WRITE "${path}" "${doc}")
endfunction()
one_function("${WORK}/square.gtq" "x^2")
one_function("${WORK}/reciprocal.gtq" "1/x")
one_function("${WORK}/sine.gtq" "sin(x)")

run_out(0 --help)
if(NOT LAST_OUT MATCHES "--interval A B" OR NOT LAST_OUT MATCHES "--maxmin" OR NOT LAST_OUT MATCHES "--divisions N")
  message(FATAL_ERROR "--help does not describe the calculus options: ${LAST_OUT}")
endif()

# The band alone, over any document: yellow hatch inside [-1, 2], none outside.
run_out(0 --size 101 --interval -1 2 "${WORK}/good.gtq" "${WORK}/band.bmp")
expect_out("")
bmp_pixel("${WORK}/band.bmp" 101 48 0 inside)  # (48 + 0) is a multiple of 8: a hatch line
bmp_pixel("${WORK}/band.bmp" 101 80 0 outside)
if(NOT inside STREQUAL "00ffff" OR NOT outside STREQUAL "ffffff")
  message(FATAL_ERROR "band.bmp: pixel (48, 0) is ${inside}, (80, 0) is ${outside}")
endif()

# Maxima and minima of x^2 on [-1, 2], oldest first: on 640 columns x = 0 is
# a column, so the vertex is the three samples around it.
run_out(0 --interval -1 2 --maxmin "${WORK}/square.gtq" "${WORK}/marks.png")
expect_out("max: (2.0000 , 4.0000)\nmin: (-0.0156 , 0.0002)\nmin: (0.0000 , 0.0002)\nmin: (0.0156 , 0.0002)\n")

# The four sums of x^2 on [0, 1] with two strips; π typed in UTF-8.
foreach(pair "upper;0.6250" "lower;0.1250" "trapezoid;0.3750" "simpson;0.3333")
  list(GET pair 0 kind)
  list(GET pair 1 value)
  run_out(0 --interval 0 1 --sum ${kind} --divisions 2 "${WORK}/square.gtq" "${WORK}/sum.png")
  expect_out("sum: ${value}\n")
endforeach()
run_out(0 --interval 0 π --sum upper "${WORK}/sine.gtq" "${WORK}/sum.bmp")
expect_out("sum: 3.1416\n")
run_out(0 --interval 0 2π --sum trapezoid --divisions 40 "${WORK}/sine.gtq" "${WORK}/sum.bmp")
expect_out("sum: 0.0000\n")

# Undefined inside the interval: the navigator's message, status 3, no picture.
file(REMOVE "${WORK}/none.png")
run_out(3 --interval -1 1 --sum trapezoid "${WORK}/reciprocal.gtq" "${WORK}/none.png")
expect_err("区間内に定義出来ない点があります")
run_out(3 --interval -1 1 --maxmin "${WORK}/reciprocal.gtq" "${WORK}/none.png")
if(EXISTS "${WORK}/none.png")
  message(FATAL_ERROR "a run with an undefined point wrote a picture")
endif()
run_out(0 --interval -1 1 --sum trapezoid --divisions 3 "${WORK}/reciprocal.gtq" "${WORK}/three.png")

# Not one explicit function, or options that do not fit: status 2.
run_out(2 --interval 0 1 --sum upper "${WORK}/good.gtq" "${WORK}/x.png")
run_out(2 --interval 0 1 --maxmin "${WORK}/good.gtq" "${WORK}/x.png")
run(2 --maxmin "${WORK}/square.gtq" "${WORK}/x.png")
run(2 --sum upper "${WORK}/square.gtq" "${WORK}/x.png")
run(2 --interval 0 1 --divisions 4 "${WORK}/square.gtq" "${WORK}/x.png")
run(2 --interval 0 1 --sum middle "${WORK}/square.gtq" "${WORK}/x.png")
run(2 --interval 0 1 --sum upper --divisions 0 "${WORK}/square.gtq" "${WORK}/x.png")
run(2 --interval 0 1 --sum upper --divisions 10001 "${WORK}/square.gtq" "${WORK}/x.png")
run(2 --interval 0 1 --maxmin --sum upper "${WORK}/square.gtq" "${WORK}/x.png")
run(2 --interval 0 "${WORK}/square.gtq" "${WORK}/x.png")
run_out(2 --interval 1+ 1 "${WORK}/square.gtq" "${WORK}/x.png")
