// The table of recent sines and cosines: 512 sets of two entries, keyed by the
// argument's bits, the entry used last kept first in its set.
//
// Whether a miss computes one function or both: sincosl costs about a third
// more than sinl alone, which pays only where the other function of the same
// argument is asked for soon after (the tracer's value and slope at one
// point, a curve and its speed). A score counts that: a value computed
// alongside and then asked for, or a miss for the other function of an
// argument already there, raise it; any other miss lowers it. While it is
// high, a miss computes both, and so it does while the caller says it will
// ask for the other function (EngineState::pairTrigonometry). The score and
// the hint only decide how a value is computed, never what it is.
#include "engine/trig_memo.h"

#include "engine/engine_state.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace gq::eval_detail
{

namespace
{
constexpr unsigned kSetBits = 9;
constexpr unsigned kSets = 1u << kSetBits;
constexpr uint8_t kSine = 1, kCosine = 2;
constexpr int kScoreMax = 16, kPairFrom = 4, kPaid = 2, kUnpaid = 1;

struct Key {
    uint64_t mantissa = 0;
    uint16_t exponent = 0; // with the sign
    bool operator==(const Key &) const = default;
};

struct Entry {
    uint64_t mantissa = 0;
    uint16_t exponent = 0;
    uint8_t have = 0;    // kSine | kCosine: which values are known (0: empty)
    uint8_t unasked = 0; // computed alongside the other and not asked for yet
    long double sine = 0, cosine = 0;

    bool holds(const Key &k) const { return have && mantissa == k.mantissa && exponent == k.exponent; }
    // The wanted values are here and were asked for before (the common hit).
    bool ready(const Key &k, uint8_t want) const
    {
        return mantissa == k.mantissa && exponent == k.exponent && (have & want) == want && !(unasked & want);
    }
};

struct Memo {
    Entry sets[kSets][2];
    int score = 0;
};

thread_local constinit Memo memo{};
} // namespace

thread_local constinit bool memoPairs = false;

namespace
{

Key keyOf(const long double *arg)
{
    static_assert(sizeof(long double) >= 10, "80-bit long double");
    Key k;
    std::memcpy(&k.mantissa, arg, 8);
    std::memcpy(&k.exponent, reinterpret_cast<const unsigned char *>(arg) + 8, 2);
    return k;
}

unsigned setOf(const Key &k)
{
    uint64_t h = k.mantissa ^ (k.mantissa >> 31) ^ (uint64_t{k.exponent} << 48);
    h *= 0x9E3779B97F4A7C15u;
    return static_cast<unsigned>(h >> (64 - kSetBits));
}

void adjust(int delta)
{
    int s = memo.score + delta;
    memo.score = s < 0 ? 0 : (s > kScoreMax ? kScoreMax : s);
    memoPairs = memo.score >= kPairFrom;
}

// The caller's hint (engine_state.h): both functions of what it evaluates now.
bool pairsAsked()
{
    return engineState().pairTrigonometry;
}

// Fills the wanted values of e (and, while pairing pays, the other one).
void compute(Entry &e, long double a, uint8_t want)
{
    const uint8_t missing = static_cast<uint8_t>((kSine | kCosine) & ~e.have);
    const uint8_t needed = static_cast<uint8_t>(want & missing);
    if (missing == (kSine | kCosine) && (needed == missing || memo.score >= kPairFrom || pairsAsked())) {
        sincosl(a, &e.sine, &e.cosine);
        e.have = kSine | kCosine;
        e.unasked = static_cast<uint8_t>(missing & ~want);
        return;
    }
    if (needed & kSine)
        e.sine = sinl(a);
    if (needed & kCosine)
        e.cosine = cosl(a);
    e.have |= needed;
}

// The entry of *arg in its set, made the set's first (nullptr: none yet).
Entry *find(const Key &key, Entry *set)
{
    if (set[0].holds(key))
        return &set[0];
    if (!set[1].holds(key))
        return nullptr;
    const Entry used = set[1];
    set[1] = set[0];
    set[0] = used;
    return &set[0];
}

// The entry of *arg holding the wanted values (set: its set).
Entry &lookup(const long double *arg, const Key &key, Entry *set, uint8_t want)
{
    Entry *e = find(key, set);
    if (!e) {
        adjust(-kUnpaid);
        set[1] = set[0];
        set[0] = Entry{key.mantissa, key.exponent};
        compute(set[0], *arg, want);
        return set[0];
    }
    if ((e->have & want) != want) {
        adjust(kPaid); // the other function of this argument was asked for before
        compute(*e, *arg, want);
    } else if (e->unasked & want) {
        adjust(kPaid);
        e->unasked = static_cast<uint8_t>(e->unasked & ~want);
    }
    return *e;
}

// One function of *arg that was not ready in the first entry of its set. A
// value the library computes here is returned as it comes, not read back
// from the table (an 80-bit value stored and loaded at once stalls).
template <uint8_t Want> long double missed(const long double *arg, const Key &key, Entry *set)
{
    Entry *e = find(key, set);
    if (e && (e->have & Want)) { // ready now, or computed alongside the other
        if (e->unasked & Want) {
            adjust(kPaid);
            e->unasked = static_cast<uint8_t>(e->unasked & ~Want);
        }
        return Want == kSine ? e->sine : e->cosine;
    }
    if (e) {
        adjust(kPaid); // the other function of this argument was asked for before
    } else {
        adjust(-kUnpaid);
        set[1] = set[0];
        set[0] = Entry{key.mantissa, key.exponent};
        e = &set[0];
        if (memo.score >= kPairFrom || pairsAsked()) { // both at once
            compute(*e, *arg, Want);
            return Want == kSine ? e->sine : e->cosine;
        }
    }
    const long double v = Want == kSine ? sinl(*arg) : cosl(*arg);
    (Want == kSine ? e->sine : e->cosine) = v;
    e->have = static_cast<uint8_t>(e->have | Want);
    return v;
}
// One function of arg: the first entry of its set is looked at inline, the
// rest of the search is out of line.
template <uint8_t Want> long double memoOne(const long double *arg)
{
    const Key key = keyOf(arg);
    Entry *set = memo.sets[setOf(key)];
    if (set[0].ready(key, Want))
        return Want == kSine ? set[0].sine : set[0].cosine;
    return missed<Want>(arg, key, set);
}
} // namespace

long double memoSin(const long double *arg)
{
    return memoOne<kSine>(arg);
}

long double memoCos(const long double *arg)
{
    return memoOne<kCosine>(arg);
}

SineCosine memoSinCos(const long double *arg)
{
    const Key key = keyOf(arg);
    Entry &e = lookup(arg, key, memo.sets[setOf(key)], kSine | kCosine);
    e.unasked = 0;
    return {e.sine, e.cosine};
}

} // namespace gq::eval_detail
