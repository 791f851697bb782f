# Helpers of the scripts that run graphotheque-render and check its exit
# codes, output and pictures. Expects TOOL (the program) to be set.

# run(<expected exit code> <args>...): sets LAST_OUT and LAST_ERR.
function(run expected)
  execute_process(COMMAND "${TOOL}" ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc STREQUAL "${expected}")
    message(FATAL_ERROR "graphotheque-render ${ARGN}: exit ${rc}, expected ${expected}\n${out}${err}")
  endif()
  set(LAST_OUT "${out}" PARENT_SCOPE)
  set(LAST_ERR "${err}" PARENT_SCOPE)
endfunction()

function(expect_out text)
  if(NOT LAST_OUT STREQUAL "${text}")
    message(FATAL_ERROR "stdout is\n${LAST_OUT}\nexpected\n${text}")
  endif()
endfunction()

function(expect_err pattern)
  if(NOT LAST_ERR MATCHES "${pattern}")
    message(FATAL_ERROR "stderr does not match '${pattern}': ${LAST_ERR}")
  endif()
endfunction()

# One line on stderr and nothing on stdout (or only the text given).
function(expect_one_error_line)
  set(out "${ARGV0}")
  string(REGEX MATCHALL "\n" newlines "${LAST_ERR}")
  list(LENGTH newlines lineCount)
  if(NOT lineCount EQUAL 1 OR NOT LAST_OUT STREQUAL "${out}")
    message(FATAL_ERROR "expected one line on stderr and nothing on stdout:\n${LAST_OUT}${LAST_ERR}")
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

# bmp_pixel(<file> <x> <y> <var>): the bytes B G R in hex of pixel (x, y),
# counted from the top left, of a 24- or 32-bit bottom-up BMP.
function(bmp_pixel path x y var)
  read_u32("${path}" 10 dataOffset)
  read_u32("${path}" 18 width)
  read_u32("${path}" 22 height)
  file(READ "${path}" bpp OFFSET 28 LIMIT 2 HEX)
  if(bpp STREQUAL "1800")
    set(bytes 3)
  else()
    set(bytes 4)
  endif()
  math(EXPR rowSize "((${width} * ${bytes} + 3) / 4) * 4")
  math(EXPR offset "${dataOffset} + (${height} - 1 - ${y}) * ${rowSize} + ${x} * ${bytes}")
  file(READ "${path}" pixel OFFSET ${offset} LIMIT 3 HEX)
  set(${var} ${pixel} PARENT_SCOPE)
endfunction()

# Whether some pixel within one of (x, y) has the colour (hex B, G, R); sets FOUND.
function(pixel_near path x y bgr)
  set(found FALSE)
  foreach(dy RANGE -1 1)
    foreach(dx RANGE -1 1)
      math(EXPR px "${x} + ${dx}")
      math(EXPR py "${y} + ${dy}")
      bmp_pixel("${path}" ${px} ${py} pixel)
      if(pixel STREQUAL "${bgr}")
        set(found TRUE)
      endif()
    endforeach()
  endforeach()
  set(FOUND ${found} PARENT_SCOPE)
endfunction()

function(expect_pixel path x y bgr what)
  pixel_near("${path}" ${x} ${y} ${bgr})
  if(NOT FOUND)
    message(FATAL_ERROR "${path}: no ${what} near (${x}, ${y})")
  endif()
endfunction()

# A document of one explicit function f in the default frame, drawn in the
# colour given as the file writes it (a 0x00BBGGRR number).
function(write_one_function path f colour)
  set(doc "[Graphotheque Data]\r\n-5\r\n5\r\n-5\r\n5\r\n0\r\n0\r\n0\r\n0\r\n0\r\n")
  string(APPEND doc "deffunc\r\n0\r\ndefconst\r\n0\r\n1\r\n")
  string(APPEND doc "1\r\n${f}\r\n\r\n\r\n\r\nTrue\r\nTrue\r\n${colour}\r\n1\r\n")
  file(WRITE "${path}" "${doc}")
endfunction()
