// Random chains of + - * / typed as keys, checked against exact fractions (GMP): the display
// must be the exact value rounded as the display rounds it (33 significant digits, half away
// from zero, fixed or scientific notation), whenever the value needs no trimming.
// The seed is printed; VEMO_SEED overrides it.
#include <gmpxx.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "unit/engine/calculator.h"

namespace {
constexpr int kDigits = 33;  // the working precision shown with the default /P32

int DecimalDigits(unsigned v) {
  int n = 0;
  while (v != 0) {
    ++n;
    v /= 10;
  }
  return n;
}

mpz_class PowerOfTen(int n) {
  mpz_class p;
  mpz_ui_pow_ui(p.get_mpz_t(), 10, static_cast<unsigned>(n));
  return p;
}

// 10^n for any integer n.
mpq_class Pow10(int n) {
  return n >= 0 ? mpq_class(PowerOfTen(n)) : mpq_class(mpz_class(1), PowerOfTen(-n));
}

// The display text of an exact value.
std::string DisplayOf(const mpq_class& q) {
  if (q == 0) return "0.";
  mpq_class v = abs(q);
  // E: the number of digits before the point, 10^(E-1) <= v < 10^E.
  int E = 1;
  while (v >= Pow10(E)) ++E;
  while (v < Pow10(E - 1)) --E;
  // The first kDigits + 2 significant digits, truncated, without trailing zeros.
  mpq_class scaled = v * Pow10(kDigits + 2 - E);
  mpz_class top = scaled.get_num() / scaled.get_den();
  std::string ds = top.get_str();
  while (ds.size() > 1 && ds.back() == '0') ds.pop_back();

  bool rounded = false;
  int ndig = 0;
  bool scientific = false;
  for (;;) {
    int count = static_cast<int>(ds.size());
    ndig = count < kDigits ? count : kDigits;
    int x = DecimalDigits(static_cast<unsigned>(std::abs(E - 1)));
    scientific = ndig - E > kDigits + 2 || E > kDigits + 3;
    int roundAt = kDigits;
    if (scientific) {
      roundAt = kDigits - x + 1;
      if (ndig + x - 1 > kDigits) ndig = kDigits - x + 1;
    }
    if (count >= kDigits && !rounded && count > roundAt) {
      rounded = true;
      bool up = ds[roundAt] >= '5';
      std::string head = ds.substr(0, roundAt);
      if (up) {
        int i = roundAt - 1;
        while (i >= 0 && head[i] == '9') head[i--] = '0';
        if (i < 0) {
          head.insert(head.begin(), '1');
          ++E;
        } else {
          ++head[i];
        }
      }
      while (head.size() > 1 && head.back() == '0') head.pop_back();
      ds = head;
      continue;
    }
    break;
  }

  std::string text = q < 0 ? "-" : "";
  int p = scientific ? 1 : E;
  if (p <= 0) {
    text += "0.";
    text += std::string(static_cast<size_t>(-p), '0');
    p = 0;
  }
  for (int i = 0; i < ndig; ++i) {
    text += ds[i];
    if (--p == 0) text += '.';
  }
  while (p > 0) {
    text += '0';
    if (--p == 0) text += '.';
  }
  if (scientific) {
    text += E - 1 >= 0 ? "e+" : "e-";
    text += std::to_string(std::abs(E - 1));
  }
  return text;
}

TEST(DisplayModel, MatchesTheDocumentedExamples) {
  struct Row {
    mpq_class value;
    const char* display;
  };
  const Row rows[] = {
      {mpq_class(12), "12."},
      {mpq_class(1, 20), "0.05"},
      {mpq_class(-25, 2), "-12.5"},
      {mpq_class(2, 3), "0.666666666666666666666666666666667"},
      {mpq_class(PowerOfTen(35)), "100000000000000000000000000000000000."},
      {mpq_class(PowerOfTen(36)), "1.e+36"},
      {mpq_class(1, PowerOfTen(35)), "0.00000000000000000000000000000000001"},
      {mpq_class(1, PowerOfTen(36)), "1.e-36"},
      {mpq_class(PowerOfTen(40), 3), "3.3333333333333333333333333333333e+39"},
      {mpq_class(1, 7000), "1.42857142857142857142857142857143e-4"},
  };
  for (const Row& row : rows) EXPECT_EQ(DisplayOf(row.value), row.display) << row.value.get_str();
}

struct Operand {
  std::string keys;
  mpq_class value;
};

Operand RandomOperand(std::mt19937_64& random) {
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_int_distribution<long> integer(0, 999999);
  std::uniform_int_distribution<int> places(1, 4);
  long whole = integer(random);
  Operand o;
  if (kind(random) < 4) {
    int n = places(random);
    long fraction = std::uniform_int_distribution<long>(0, static_cast<long>(PowerOfTen(n).get_si()) - 1)(random);
    std::string digits = std::to_string(fraction);
    digits.insert(0, static_cast<size_t>(n) - digits.size(), '0');
    o.keys = std::to_string(whole % 10000) + "." + digits;
    o.value = mpq_class(mpz_class((whole % 10000) * PowerOfTen(n).get_si() + fraction), PowerOfTen(n));
  } else {
    o.keys = std::to_string(whole);
    o.value = mpq_class(whole);
  }
  o.value.canonicalize();
  if (kind(random) < 3) {
    o.keys += "[F9]";
    o.value = -o.value;
  }
  return o;
}

const char kOperators[] = {'+', '-', '*', '/'};

mpq_class Apply(const mpq_class& a, char op, const mpq_class& b, bool& ok) {
  switch (op) {
    case '+': return a + b;
    case '-': return a - b;
    case '*': return a * b;
    default:
      if (b == 0) {
        ok = false;
        return 0;
      }
      return a / b;
  }
}

// Exact value of tokens with precedence (* and / over + and -), parentheses as given.
struct Parser {
  const std::vector<std::string>& tokens;
  const std::vector<mpq_class>& values;  // the value of each operand token, by index
  size_t at = 0;
  bool ok = true;

  mpq_class Primary() {
    if (tokens[at] == "(") {
      ++at;
      mpq_class v = Sum();
      ++at;  // ")"
      return v;
    }
    return values[at++];
  }
  mpq_class Product() {
    mpq_class v = Primary();
    while (at < tokens.size() && (tokens[at] == "*" || tokens[at] == "/")) {
      char op = tokens[at++][0];
      v = Apply(v, op, Primary(), ok);
    }
    return v;
  }
  mpq_class Sum() {
    mpq_class v = Product();
    while (at < tokens.size() && (tokens[at] == "+" || tokens[at] == "-")) {
      char op = tokens[at++][0];
      v = Apply(v, op, Product(), ok);
    }
    return v;
  }
};

bool NeedsNoTrimming(const mpq_class& q) {
  return mpz_sizeinbase(q.get_num().get_mpz_t(), 10) <= 30 &&
         mpz_sizeinbase(q.get_den().get_mpz_t(), 10) <= 30;
}

std::uint64_t Seed() {
  const char* text = std::getenv("VEMO_SEED");
  return text != nullptr ? std::strtoull(text, nullptr, 10) : std::random_device{}();
}

void RunRandomChains(int layout, int trials) {
  std::uint64_t seed = Seed();
  std::printf("random chains, layout %d: seed %llu (set VEMO_SEED to repeat)\n", layout,
              static_cast<unsigned long long>(seed));
  std::mt19937_64 random(seed);
  int compared = 0;
  for (int trial = 0; trial < trials; ++trial) {
    int count = std::uniform_int_distribution<int>(2, 6)(random);
    std::vector<std::string> tokens;
    std::vector<mpq_class> values;
    std::string keys;
    // In the scientific layout one run of operands may be put in parentheses.
    int open = -1, close = -1;
    if (layout == kScientific && count >= 3 && random() % 2 == 0) {
      open = static_cast<int>(random() % static_cast<unsigned>(count - 1));
      close = open + 1 + static_cast<int>(random() % static_cast<unsigned>(count - 1 - open));
    }
    for (int i = 0; i < count; ++i) {
      if (i > 0) {
        char op = kOperators[random() % 4];
        tokens.push_back(std::string(1, op));
        values.emplace_back(0);
        keys += op;
      }
      if (i == open) {
        tokens.push_back("(");
        values.emplace_back(0);
        keys += "(";
      }
      Operand o = RandomOperand(random);
      tokens.push_back(o.keys);
      values.push_back(o.value);
      keys += o.keys;
      if (i == close) {
        tokens.push_back(")");
        values.emplace_back(0);
        keys += ")";
      }
    }
    keys += "=";

    mpq_class exact;
    bool ok = true;
    if (layout == kStandard) {
      exact = values[0];
      for (size_t i = 1; i < tokens.size(); i += 2) exact = Apply(exact, tokens[i][0], values[i + 1], ok);
    } else {
      Parser parser{tokens, values};
      exact = parser.Sum();
      ok = parser.ok;
    }
    if (!ok || !NeedsNoTrimming(exact)) continue;
    StartCalculator(layout);
    std::string display = Type(keys);
    ++compared;
    std::string expected = DisplayOf(exact);
    if (exact == 0 && display == "-0.") expected = "-0.";  // a product with a negative factor
    ASSERT_EQ(display, expected) << "keys " << keys << " (exact " << exact.get_str()
                                 << "), seed " << seed << ", trial " << trial;
  }
  EXPECT_GT(compared, trials / 2) << "too few chains were comparable";
}

TEST(RandomChains, StandardLayoutLeftToRight) { RunRandomChains(kStandard, 400); }
TEST(RandomChains, ScientificLayoutWithPrecedenceAndParentheses) { RunRandomChains(kScientific, 400); }
}  // namespace
