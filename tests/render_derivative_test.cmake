# Runs graphotheque-render with the options of the tangent and mean-rate
# demonstrations and checks exit codes, read-outs and pixels of the picture.
# cmake -DTOOL=<graphotheque-render> -DWORK=<scratch folder> -P render_derivative_test.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
include("${CMAKE_CURRENT_LIST_DIR}/render_test_helpers.cmake")

# A document of one explicit function in the default frame, drawn in green.
function(write_function name formula)
  write_one_function("${WORK}/${name}.gtq" "${formula}" 32768)
endfunction()
write_function(square "x^2")
write_function(hyperbola "1/x")
write_function(product "(x+1)(x-1)")
set(two "[Graphotheque Data]\r\n-5\r\n5\r\n-5\r\n5\r\n0\r\n0\r\n0\r\n0\r\n0\r\n")
string(APPEND two "deffunc\r\n0\r\ndefconst\r\n0\r\n2\r\n")
string(APPEND two "1\r\nx^2\r\n\r\n\r\n\r\nTrue\r\nTrue\r\n32768\r\n1\r\n")
string(APPEND two "1\r\nx\r\n\r\n\r\n\r\nTrue\r\nTrue\r\n255\r\n1\r\n")
file(WRITE "${WORK}/two.gtq" "${two}")

# The tangent at 1: P (1, 1) is pixel (61, 40) on 101 pixels, the slope point
# (1, 2) is (61, 30), and the tangent y = 2x - 1 passes (2, 3) at (71, 20).
run(0 --size 101 --tangent 1 "${WORK}/square.gtq" "${WORK}/tangent.bmp")
expect_out("derivative: 2*x\npoint: (1.0000 , 1.0000)\nslope: 2.0000\n")
expect_pixel("${WORK}/tangent.bmp" 60 41 ff0000 "blue P")
expect_pixel("${WORK}/tangent.bmp" 61 30 0000ff "red slope point")
expect_pixel("${WORK}/tangent.bmp" 71 20 ff0080 "violet tangent")
pixel_near("${WORK}/tangent.bmp" 40 50 8000ff)
if(FOUND)
  message(FATAL_ERROR "tangent.bmp has the trace without --slope-trace")
endif()
# With the trace: f' = 2x in rose up to P, e.g. at (-1, -2), pixel (40, 71).
run(0 --size 101 --tangent 1 --slope-trace "${WORK}/square.gtq" "${WORK}/trace.bmp")
expect_out("derivative: 2*x\npoint: (1.0000 , 1.0000)\nslope: 2.0000\n")
expect_pixel("${WORK}/trace.bmp" 40 71 8000ff "rose trace")
# At the vertex.
run(0 --tangent 0 "${WORK}/square.gtq" "${WORK}/vertex.png")
expect_out("derivative: 2*x\npoint: (0.0000 , 0.0000)\nslope: 0.0000\n")
# The derivative as the item shows it, not multiplied out.
run(0 --tangent 1 "${WORK}/product.gtq" "${WORK}/product.png")
expect_out("derivative: 2*x\npoint: (1.0000 , 0.0000)\nslope: 2.0000\n")

# The secant from 1 to 3, and after the approach. A (1, 1) is orange.
run(0 --size 101 --secant 1 3 "${WORK}/square.gtq" "${WORK}/secant.bmp")
expect_out("A: (1.00000 , 1.00000)\nB: (3.00000 , 9.00000)\nrate: 4.0000\n")
expect_pixel("${WORK}/secant.bmp" 60 41 0771cf "orange A")
expect_pixel("${WORK}/secant.bmp" 55 61 ff0080 "violet secant")
run(0 --secant 3 1 --approach "${WORK}/square.gtq" "${WORK}/approach.png")
expect_out("A: (3.00000 , 9.00000)\nB: (2.99991 , 8.99946)\nrate: 5.9999\n")
# Equal points: no rate line.
run(0 --secant 2 2 "${WORK}/square.gtq" "${WORK}/equal.png")
expect_out("A: (2.00000 , 4.00000)\nB: (2.00000 , 4.00000)\n")

# f undefined at a given point: one line on stderr, exit 3, nothing written
# (the derivative's text, which does not depend on the point, is printed).
run(3 --tangent 0 "${WORK}/hyperbola.gtq" "${WORK}/pole.png")
expect_one_error_line("derivative: -1/x^2\n")
run(3 --secant 1 0 "${WORK}/hyperbola.gtq" "${WORK}/pole.png")
expect_one_error_line()
if(EXISTS "${WORK}/pole.png")
  message(FATAL_ERROR "a failed run wrote pole.png")
endif()

# Not exactly one explicit function, or a value that is not a number: exit 2.
run(2 --tangent 1 "${WORK}/two.gtq" "${WORK}/x.png")
expect_one_error_line()
run(2 --tangent "1/" "${WORK}/square.gtq" "${WORK}/x.png")
expect_one_error_line()
# Bad uses: the usage.
run(2 --slope-trace "${WORK}/square.gtq" "${WORK}/x.png")
run(2 --approach "${WORK}/square.gtq" "${WORK}/x.png")
run(2 --tangent 1 --secant 1 2 "${WORK}/square.gtq" "${WORK}/x.png")
run(2 --secant 1 "${WORK}/square.gtq" "${WORK}/x.png")
run(2 "${WORK}/square.gtq" "${WORK}/x.png" --tangent)
run(0 --help)
if(NOT LAST_OUT MATCHES "--tangent X" OR NOT LAST_OUT MATCHES "--secant XA XB")
  message(FATAL_ERROR "--help does not name the options:\n${LAST_OUT}")
endif()
