// Sines and cosines of 80-bit values, remembered per thread. Internal to the
// evaluator (eval_operations.h).
//
// The library's sine and cosine reduce every argument beyond π/4 by a long
// multi-precision division, about 300 ns a call on the development machine,
// while the plotters often ask again for the same argument: the tracer of
// implicit curves samples a lattice whose columns share x and whose rows
// share y, then asks for the slopes (cosines) where it just took values
// (sines); a polar curve's coordinates and their speeds take sin t and cos t
// of one t four times over. So each thread keeps a small table of the latest
// arguments and their sine and cosine.
//
// The results are bit for bit the library's sinl and cosl: a remembered value
// is one they returned for exactly the same bits, and where the table computes
// both at once it calls sincosl, which reduces the argument once and runs the
// same two kernels. Nothing here changes any value or flag; only time.
#pragma once

namespace gq::eval_detail
{

// sinl(*arg) and cosl(*arg).
long double memoSin(const long double *arg);
long double memoCos(const long double *arg);

// Both at once (tan, sec, cosec, cotan).
struct SineCosine {
    long double sine, cosine;
};
SineCosine memoSinCos(const long double *arg);

// Whether this thread lately asked for both functions of one argument often
// enough for the table to compute them together. While it did not, an
// argument that is not in memory already (a computed operand) skips the
// table: storing it to look it up costs more than the table saves there.
extern thread_local constinit bool memoPairs;

} // namespace gq::eval_detail
