// Karatsuba and transform products of long digit arrays in base 2^31.
//
// Karatsuba splits both operands at m words: x*y = z0 + (p - z0 - z2) B^m + z2 B^2m with
// z0 = x0*y0, z2 = x1*y1, p = (x0 + x1)(y0 + y1): three half-size products instead of four.
// Its temporaries come from one scratch block sized at the top.
//
// The transform product cuts both operands into b-bit pieces, takes their cyclic
// convolution with a number-theoretic transform modulo P = 2^64 - 2^32 + 1 (which has roots
// of unity of every order up to 2^32, and a reduction without division), and adds the
// coefficients back at their bit positions. b is chosen so that every coefficient,
// min(pieces) * (2^b - 1)^2, stays below P: the convolution is then exact.
#include "numbers/fast_multiply.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

#include "numbers/bignum.h"
#include "numbers/heap.h"

namespace {

using Word = std::uint32_t;
using u64 = std::uint64_t;
using u128 = unsigned __int128;
constexpr Word kMask = 0x7FFFFFFFu;

// Thrown inside this file only, when a stop request ends a product; caught by fastProduct.
struct ProductStopped {};

inline void pollForStop(bool pollStop) {
  if (pollStop && stopRequested()) throw ProductStopped{};
}

// A heap array of n zeroed elements, released on every path.
template <typename T>
class HeapArray {
 public:
  explicit HeapArray(std::size_t n)
      : data_(static_cast<T*>(heapAllocateZeroed(sizeof(T) * (n == 0 ? 1 : n)))) {}
  ~HeapArray() { heapFree(data_); }
  HeapArray(const HeapArray&) = delete;
  HeapArray& operator=(const HeapArray&) = delete;
  T* get() const { return data_; }

 private:
  T* data_;
};

// ---------------------------------------------------------------------------------------
// Word loops

// a[0..na) += b[0..nb) (nb <= na); returns the carry out of a's top word.
Word addInto(Word* a, std::int32_t na, const Word* b, std::int32_t nb) {
  Word carry = 0;
  std::int32_t i = 0;
  for (; i < nb; ++i) {
    Word t = a[i] + b[i] + carry;  // < 2^32
    a[i] = t & kMask;
    carry = t >> 31;
  }
  for (; carry != 0 && i < na; ++i) {
    Word t = a[i] + 1;
    a[i] = t & kMask;
    carry = t >> 31;
  }
  return carry;
}

// a[0..na) -= b[0..nb) (nb <= na, a >= b as integers).
void subtractFrom(Word* a, std::int32_t na, const Word* b, std::int32_t nb) {
  Word borrow = 0;
  std::int32_t i = 0;
  for (; i < nb; ++i) {
    Word t = a[i] - b[i] - borrow;  // wraps when negative: bit 31 set
    borrow = t >> 31;
    a[i] = t & kMask;
  }
  for (; borrow != 0 && i < na; ++i) {
    Word t = a[i] - 1;
    borrow = t >> 31;
    a[i] = t & kMask;
  }
}

// s[0..n] := a[0..n) + b[0..nb) with nb <= n; the top word is the carry.
void sumOfHalves(Word* s, const Word* a, std::int32_t n, const Word* b, std::int32_t nb) {
  std::memcpy(s, a, sizeof(Word) * std::size_t(n));
  s[n] = addInto(s, n, b, nb);
}

// Count of a[0..n) without its top zero words (at least 1).
std::int32_t trimmedLength(const Word* a, std::int32_t n) {
  while (n > 1 && a[n - 1] == 0) --n;
  return n;
}

// row[0..n] += x[0..n) * a, where row[n] is still zero (one row of a long product).
inline void addRowProduct(Word* row, const Word* x, std::int32_t n, u64 a) {
  u64 carry = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    u64 t = a * x[i] + row[i] + carry;
    row[i] = Word(t) & kMask;
    carry = t >> 31;
  }
  row[n] = Word(carry);
}

void schoolbookProduct(Word* out, const Word* x, std::int32_t nx, const Word* y, std::int32_t ny) {
  u64 a = x[0];
  u64 carry = 0;
  for (std::int32_t j = 0; j < ny; ++j) {
    u64 t = a * y[j] + carry;
    out[j] = Word(t) & kMask;
    carry = t >> 31;
  }
  out[ny] = Word(carry);
  for (std::int32_t i = 1; i < nx; ++i) addRowProduct(out + i, y, ny, x[i]);
}

// The cross products x_i x_j (i < j) once, doubled, plus the squares x_i^2.
void schoolbookSquare(Word* out, const Word* x, std::int32_t n) {
  std::memset(out, 0, sizeof(Word) * std::size_t(2 * n));
  for (std::int32_t i = 0; i + 1 < n; ++i) {
    u64 a = x[i];
    u64 carry = 0;
    Word* row = out + i;
    for (std::int32_t j = i + 1; j < n; ++j) {
      u64 t = a * x[j] + row[j] + carry;
      row[j] = Word(t) & kMask;
      carry = t >> 31;
    }
    row[n] = Word(carry);
  }
  u64 carry = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    u64 t = u64(x[i]) * x[i] + (u64(out[2 * i]) << 1) + carry;
    out[2 * i] = Word(t) & kMask;
    t = (t >> 31) + (u64(out[2 * i + 1]) << 1);
    out[2 * i + 1] = Word(t) & kMask;
    carry = t >> 31;
  }
}

// ---------------------------------------------------------------------------------------
// Arithmetic modulo P = 2^64 - 2^32 + 1, on values below P

constexpr u64 kPrime = 0xFFFFFFFF00000001ull;
constexpr u64 kEpsilon = 0xFFFFFFFFull;  // 2^64 mod P

// Written without branches: the conditions depend on the data and would be mispredicted
// half of the time.
inline u64 addMod(u64 a, u64 b) {
  const u64 complement = kPrime - b;  // a + b >= P exactly when a >= P - b
  const u64 sum = a + b;
  const u64 reduced = a - complement;
  return a >= complement ? reduced : sum;
}

inline u64 subMod(u64 a, u64 b) {
  const u64 d = a - b;
  return d + (kPrime & (u64{0} - u64(a < b)));
}

// x = hi 2^64 + lo with 2^64 = 2^32 - 1 and 2^96 = -1 (mod P).
inline u64 mulMod(u64 a, u64 b) {
  const u128 x = u128(a) * b;
  const u64 lo = u64(x), hi = u64(x >> 64);
  const u64 hiHi = hi >> 32, hiLo = hi & kEpsilon;
  u64 t0 = lo - hiHi;
  t0 -= kEpsilon & (u64{0} - u64(lo < hiHi));
  const u64 t1 = hiLo * kEpsilon;
  u64 t2 = t0 + t1;
  t2 += kEpsilon & (u64{0} - u64(t2 < t1));
  const u64 reduced = t2 - kPrime;
  return t2 >= kPrime ? reduced : t2;
}

u64 powMod(u64 base, u64 e) {
  u64 r = 1;
  while (e != 0) {
    if (e & 1) r = mulMod(r, base);
    base = mulMod(base, base);
    e >>= 1;
  }
  return r;
}

// Loops over whole transforms poll the stop flag once per this many points.
constexpr std::size_t kPollPoints = 1 << 16;

// a[i] := a[i] * b[i] * scale (b null: a[i] * scale).
void multiplyPointwise(u64* a, const u64* b, std::size_t L, u64 scale, bool pollStop) {
  for (std::size_t start = 0; start < L; start += kPollPoints) {
    pollForStop(pollStop);
    const std::size_t end = std::min(L, start + kPollPoints);
    if (b == nullptr) {
      for (std::size_t i = start; i < end; ++i) a[i] = mulMod(a[i], scale);
    } else if (scale == 1) {
      for (std::size_t i = start; i < end; ++i) a[i] = mulMod(a[i], b[i]);
    } else {
      for (std::size_t i = start; i < end; ++i) a[i] = mulMod(mulMod(a[i], b[i]), scale);
    }
  }
}

// The twiddle table of a transform of length L: roots[h + j] = w_2h^j for every half-length
// h (a power of two below L) and j < h, where w_2h is a primitive 2h-th root of unity.
void fillRoots(u64* roots, std::size_t L, bool pollStop) {
  for (std::size_t h = 1; h < L; h <<= 1) {
    const u64 w = powMod(7, (kPrime - 1) / (2 * h));  // 7 generates the multiplicative group
    u64 v = 1;
    for (std::size_t j = 0; j < h; ++j) {
      if ((j & (kPollPoints - 1)) == 0) pollForStop(pollStop);
      roots[h + j] = v;
      v = mulMod(v, w);
    }
  }
}

// Sub-transforms of at most this many points are done stage by stage (they fit the cache);
// longer ones do their first stage and recurse into the halves, polling the stop flag.
constexpr std::size_t kTransformBlock = 1 << 12;

// Decimation in frequency: natural order in, bit-reversed order out.
void forwardTransform(u64* a, std::size_t n, const u64* roots, bool pollStop) {
  if (n > kTransformBlock) {
    pollForStop(pollStop);
    const std::size_t h = n / 2;
    const u64* w = roots + h;
    for (std::size_t j = 0; j < h; ++j) {
      if ((j & (kPollPoints - 1)) == 0) pollForStop(pollStop);
      u64 u = a[j], v = a[j + h];
      a[j] = addMod(u, v);
      a[j + h] = mulMod(subMod(u, v), w[j]);
    }
    forwardTransform(a, h, roots, pollStop);
    forwardTransform(a + h, h, roots, pollStop);
    return;
  }
  for (std::size_t h = n / 2; h >= 1; h >>= 1) {
    const u64* w = roots + h;
    for (std::size_t start = 0; start < n; start += 2 * h) {
      u64* p = a + start;
      for (std::size_t j = 0; j < h; ++j) {
        u64 u = p[j], v = p[j + h];
        p[j] = addMod(u, v);
        p[j + h] = mulMod(subMod(u, v), w[j]);
      }
    }
  }
}

// Decimation in time with the inverse roots (w^-j = -w^(h - j) for a 2h-th root w):
// bit-reversed order in, natural order out, not yet divided by the length.
void inverseTransform(u64* a, std::size_t n, const u64* roots, bool pollStop) {
  auto stage = [roots, pollStop](u64* p, std::size_t h) {
    const u64* w = roots + h;
    u64 u = p[0], v = p[h];
    p[0] = addMod(u, v);
    p[h] = subMod(u, v);
    for (std::size_t j = 1; j < h; ++j) {
      if ((j & (kPollPoints - 1)) == 0) pollForStop(pollStop);
      u = p[j];
      v = mulMod(p[j + h], w[h - j]);  // p[j + h] * w^-j with the sign folded into the sum
      p[j] = subMod(u, v);
      p[j + h] = addMod(u, v);
    }
  };
  if (n > kTransformBlock) {
    pollForStop(pollStop);
    const std::size_t h = n / 2;
    inverseTransform(a, h, roots, pollStop);
    inverseTransform(a + h, h, roots, pollStop);
    stage(a, h);
    return;
  }
  for (std::size_t h = 1; h < n; h <<= 1) {
    for (std::size_t start = 0; start < n; start += 2 * h) stage(a + start, h);
  }
}

// dst[0..) := the b-bit pieces of x[0..n), least significant first; returns their count.
std::size_t cutIntoPieces(u64* dst, const Word* x, std::int32_t n, int b) {
  const u64 pieceMask = (u64{1} << b) - 1;
  u64 buffer = 0;
  int bits = 0;
  std::size_t k = 0;
  for (std::int32_t i = 0; i < n; ++i) {
    buffer |= u64(x[i]) << bits;  // bits < b <= 31: no bit is lost
    bits += 31;
    while (bits >= b) {
      dst[k++] = buffer & pieceMask;
      buffer >>= b;
      bits -= b;
    }
  }
  if (bits > 0) dst[k++] = buffer;
  return k;
}

// out[0..nOut) := sum of c[k] 2^(k b), all of it below 2^(31 nOut).
void addPiecesBack(Word* out, std::int32_t nOut, const u64* c, std::size_t count, int b,
                   bool pollStop) {
  u128 pending = 0;            // bit 0 stands at output bit 31 * emitted
  std::int64_t emitted = 0;
  for (std::size_t k = 0; k < count && emitted < nOut; ++k) {
    if ((k & (kPollPoints - 1)) == 0) pollForStop(pollStop);
    const std::int64_t shift = std::int64_t(k) * b - emitted * 31;  // 0 <= shift < 31
    pending += u128(c[k]) << shift;
    const std::int64_t settled = std::int64_t(k + 1) * b;  // later pieces start at or above
    while ((emitted + 1) * 31 <= settled && emitted < nOut) {
      out[emitted++] = Word(pending) & kMask;
      pending >>= 31;
    }
  }
  while (emitted < nOut) {
    out[emitted++] = Word(pending) & kMask;
    pending >>= 31;
  }
}

// The longest transform used; longer products are split by Karatsuba first. This bounds
// the buffers of one transform to 3 * 32 MB, which the system releases within a few
// milliseconds when a stop ends the product.
constexpr std::size_t kMaxTransformLength = std::size_t{1} << 22;

struct TransformShape {
  int bits = 0;          // piece width b
  std::size_t length = 0;  // L, a power of two
};

TransformShape transformShape(std::int32_t nx, std::int32_t ny) {
  TransformShape shape;
  for (int b = 30; b >= 8; --b) {
    const u64 px = (u64(nx) * 31 + u64(b) - 1) / u64(b);
    const u64 py = (u64(ny) * 31 + u64(b) - 1) / u64(b);
    const u64 top = (u64{1} << b) - 1;
    if (u128(std::min(px, py)) * top * top >= kPrime) continue;
    std::size_t L = 1;
    while (L < px + py - 1) L <<= 1;
    shape.bits = b;
    shape.length = L;
    return shape;
  }
  return shape;
}

bool transformFits(std::int32_t nx, std::int32_t ny) {
  const TransformShape shape = transformShape(nx, ny);
  return shape.bits != 0 && shape.length <= kMaxTransformLength;
}

void transformProduct(Word* out, const Word* x, std::int32_t nx, const Word* y, std::int32_t ny,
                      bool square, bool pollStop) {
  const TransformShape shape = transformShape(nx, ny);
  const std::size_t L = shape.length;
  HeapArray<u64> roots(L);
  fillRoots(roots.get(), L, pollStop);
  HeapArray<u64> a(L);
  const std::size_t px = cutIntoPieces(a.get(), x, nx, shape.bits);
  forwardTransform(a.get(), L, roots.get(), pollStop);
  const u64 inverseLength = powMod(L % kPrime, kPrime - 2);
  std::size_t py = px;
  if (square) {
    multiplyPointwise(a.get(), a.get(), L, inverseLength, pollStop);
  } else {
    HeapArray<u64> b(L);
    py = cutIntoPieces(b.get(), y, ny, shape.bits);
    forwardTransform(b.get(), L, roots.get(), pollStop);
    multiplyPointwise(a.get(), b.get(), L, inverseLength, pollStop);
  }
  inverseTransform(a.get(), L, roots.get(), pollStop);
  addPiecesBack(out, nx + ny, a.get(), px + py - 1, shape.bits, pollStop);
}

// x much longer than y: x is cut into chunks, each multiplied by y with a transform of
// about 4 to 8 times y's pieces; y is transformed once for all chunks.
struct ChunkShape {
  int bits = 0;
  std::size_t length = 0;
  std::int32_t chunkWords = 0;
};

ChunkShape chunkShape(std::int32_t ny) {
  ChunkShape shape;
  for (int b = 30; b >= 8; --b) {
    const u64 py = (u64(ny) * 31 + u64(b) - 1) / u64(b);
    const u64 top = (u64{1} << b) - 1;
    if (u128(py) * top * top >= kPrime) continue;  // every chunk has at least py pieces
    std::size_t L = 1;
    while (L < 4 * py) L <<= 1;
    if (L > kMaxTransformLength) return shape;
    shape.bits = b;
    shape.length = L;
    shape.chunkWords = std::int32_t(((L - py + 1) * u64(b)) / 31);
    return shape;
  }
  return shape;
}

void chunkedTransformProduct(Word* out, const Word* x, std::int32_t nx, const Word* y,
                             std::int32_t ny, const ChunkShape& shape, bool pollStop) {
  const std::size_t L = shape.length;
  HeapArray<u64> roots(L);
  fillRoots(roots.get(), L, pollStop);
  HeapArray<u64> yHat(L);
  const std::size_t py = cutIntoPieces(yHat.get(), y, ny, shape.bits);
  forwardTransform(yHat.get(), L, roots.get(), pollStop);
  const u64 inverseLength = powMod(L % kPrime, kPrime - 2);
  multiplyPointwise(yHat.get(), nullptr, L, inverseLength, pollStop);

  HeapArray<u64> a(L);
  HeapArray<Word> piece(std::size_t(shape.chunkWords) + std::size_t(ny));
  std::memset(out, 0, sizeof(Word) * std::size_t(nx + ny));
  for (std::int32_t at = 0; at < nx; at += shape.chunkWords) {
    const std::int32_t len = std::min(shape.chunkWords, nx - at);
    std::memset(a.get(), 0, sizeof(u64) * L);
    const std::size_t px = cutIntoPieces(a.get(), x + at, len, shape.bits);
    forwardTransform(a.get(), L, roots.get(), pollStop);
    multiplyPointwise(a.get(), yHat.get(), L, 1, pollStop);
    inverseTransform(a.get(), L, roots.get(), pollStop);
    addPiecesBack(piece.get(), len + ny, a.get(), px + py - 1, shape.bits, pollStop);
    addInto(out + at, nx + ny - at, piece.get(), trimmedLength(piece.get(), len + ny));
  }
}

// ---------------------------------------------------------------------------------------
// The recursion

// Scratch words any product of operands up to n words long may take (the Karatsuba
// temporaries of each level, about 4n in all, plus a few words per level).
std::size_t scratchWords(std::int32_t n) { return 5 * std::size_t(n) + 1024; }

void multiply(Word* out, const Word* x, std::int32_t nx, const Word* y, std::int32_t ny,
              Word* scratch, bool pollStop);

void square(Word* out, const Word* x, std::int32_t n, Word* scratch, bool pollStop) {
  if (n < kKaratsubaThreshold) {
    schoolbookSquare(out, x, n);
    return;
  }
  if (n >= kTransformThreshold && transformFits(n, n)) {
    transformProduct(out, x, n, x, n, true, pollStop);
    return;
  }
  pollForStop(pollStop);
  const std::int32_t m = (n + 1) / 2, h = n - m;
  Word* s = scratch;             // x0 + x1: m + 1 words
  Word* p = s + (m + 1);         // its square: 2m + 2 words
  Word* rest = p + (2 * m + 2);
  square(out, x, m, rest, pollStop);
  square(out + 2 * m, x + m, h, rest, pollStop);
  sumOfHalves(s, x, m, x + m, h);
  const std::int32_t ns = trimmedLength(s, m + 1);
  square(p, s, ns, rest, pollStop);
  const std::int32_t np = 2 * ns;
  // p >= z0 and p >= z2, so neither has more significant words than p.
  subtractFrom(p, np, out, trimmedLength(out, 2 * m));
  subtractFrom(p, np, out + 2 * m, trimmedLength(out + 2 * m, 2 * h));
  addInto(out + m, 2 * n - m, p, trimmedLength(p, np));
}

// nx >= ny, ny <= (nx + 1) / 2: x is cut into pieces of ny words, each multiplied by y.
void unbalancedProduct(Word* out, const Word* x, std::int32_t nx, const Word* y, std::int32_t ny,
                       Word* scratch, bool pollStop) {
  std::memset(out, 0, sizeof(Word) * std::size_t(nx + ny));
  Word* piece = scratch;  // 2 ny words
  Word* rest = piece + 2 * std::size_t(ny);
  for (std::int32_t at = 0; at < nx; at += ny) {
    const std::int32_t len = std::min(ny, nx - at);
    multiply(piece, y, ny, x + at, len, rest, pollStop);
    addInto(out + at, nx + ny - at, piece, trimmedLength(piece, ny + len));
  }
}

void multiply(Word* out, const Word* x, std::int32_t nx, const Word* y, std::int32_t ny,
              Word* scratch, bool pollStop) {
  if (nx < ny) {
    std::swap(x, y);
    std::swap(nx, ny);
  }
  if (ny < kKaratsubaThreshold) {
    schoolbookProduct(out, x, nx, y, ny);
    return;
  }
  if (ny >= kTransformThreshold) {
    const ChunkShape chunks = chunkShape(ny);
    if (chunks.bits != 0 && nx > 2 * chunks.chunkWords) {
      chunkedTransformProduct(out, x, nx, y, ny, chunks, pollStop);
      return;
    }
    if (transformFits(nx, ny)) {
      transformProduct(out, x, nx, y, ny, false, pollStop);
      return;
    }
  }
  const std::int32_t m = (nx + 1) / 2;
  if (ny <= m) {
    unbalancedProduct(out, x, nx, y, ny, scratch, pollStop);
    return;
  }
  pollForStop(pollStop);
  const std::int32_t hx = nx - m, hy = ny - m;
  Word* s = scratch;             // x0 + x1: m + 1 words
  Word* t = s + (m + 1);         // y0 + y1: m + 1 words
  Word* p = t + (m + 1);         // s * t: 2m + 2 words
  Word* rest = p + (2 * m + 2);
  multiply(out, x, m, y, m, rest, pollStop);
  multiply(out + 2 * m, x + m, hx, y + m, hy, rest, pollStop);
  sumOfHalves(s, x, m, x + m, hx);
  sumOfHalves(t, y, m, y + m, hy);
  const std::int32_t ns = trimmedLength(s, m + 1), nt = trimmedLength(t, m + 1);
  multiply(p, s, ns, t, nt, rest, pollStop);
  const std::int32_t np = ns + nt;
  subtractFrom(p, np, out, trimmedLength(out, 2 * m));
  subtractFrom(p, np, out + 2 * m, trimmedLength(out + 2 * m, hx + hy));
  addInto(out + m, nx + ny - m, p, trimmedLength(p, np));
}

}  // namespace

namespace {

std::int32_t nonZeroWords(const Word* x, std::int32_t n) {
  std::int32_t count = 0;
  for (std::int32_t i = 0; i < n; ++i) count += x[i] != 0;
  return count;
}

// out += x * y row by row over y's non-zero words only (out zero on entry): for operands
// such as powers of two, whose words are nearly all zero. Rows go upwards, so the word
// above each row is still zero when its carry is stored.
void sparseProduct(Word* out, const Word* x, std::int32_t nx, const Word* y, std::int32_t ny,
                   bool pollStop) {
  for (std::int32_t j = 0; j < ny; ++j) {
    if (y[j] == 0) continue;
    addRowProduct(out + j, x, nx, y[j]);
    pollForStop(pollStop);
  }
}

}  // namespace

bool fastProduct(std::uint32_t* out, const std::uint32_t* x, std::int32_t nx,
                 const std::uint32_t* y, std::int32_t ny, bool pollStop) {
  try {
    if (nonZeroWords(y, ny) < kKaratsubaThreshold) {
      sparseProduct(out, x, nx, y, ny, pollStop);
      return true;
    }
    if (nonZeroWords(x, nx) < kKaratsubaThreshold) {
      sparseProduct(out, y, ny, x, nx, pollStop);
      return true;
    }
    HeapArray<Word> scratch(scratchWords(std::max(nx, ny)));
    if (x == y && nx == ny)
      square(out, x, nx, scratch.get(), pollStop);
    else
      multiply(out, x, nx, y, ny, scratch.get(), pollStop);
  } catch (const ProductStopped&) {
    return false;
  }
  return true;
}
