#include "discovery/wildcard_match.h"

#include "platform/error.h"
#include "platform/text.h"

namespace qm {
namespace {

constexpr int32_t kInvalidPattern = 93;

char32_t UpperCodePoint(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if (c < 0xE0) return c;
  // Latin-1: à..þ map to À..Þ, except the division sign; ÿ maps to Ÿ.
  if (c <= 0xFE) return c == 0xF7 ? c : c - 0x20;
  if (c == 0xFF) return 0x178;
  // Latin Extended-A pairs letters as upper/lower, shifting parity at 0x139 and at 0x179.
  if (c >= 0x100 && c <= 0x137) return (c & 1) ? c - 1 : c;
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? c : c - 1;
  if (c >= 0x14A && c <= 0x177) return (c & 1) ? c - 1 : c;
  if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c : c - 1;
  // Greek: final sigma upper-cases like sigma.
  if (c == 0x3C2) return 0x3A3;
  if (c >= 0x3B1 && c <= 0x3CB) return c - 0x20;
  // Cyrillic.
  if (c >= 0x430 && c <= 0x44F) return c - 0x20;
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;
  return c;
}

RuntimeError InvalidPattern(std::string_view pattern) {
  return RuntimeError(kInvalidPattern, "WildcardPattern", "Invalid pattern string: " + std::string(pattern));
}

}  // namespace

std::u32string UpperCodePoints(std::string_view utf8) {
  const std::u16string wide = text::Utf8ToUtf16(utf8);
  std::u32string out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    char32_t c = wide[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      ++i;
    }
    out.push_back(UpperCodePoint(c));
  }
  return out;
}

WildcardPattern::WildcardPattern(std::string_view pattern) {
  const std::u32string p = UpperCodePoints(pattern);
  for (size_t i = 0; i < p.size(); ++i) {
    const char32_t c = p[i];
    if (c == U'*') {
      // A run of stars is one star; keeping one makes the backtracking below cheaper.
      if (tokens_.empty() || tokens_.back().op != Op::AnyRun) tokens_.emplace_back(Op::AnyRun);
    } else if (c == U'?') {
      tokens_.emplace_back(Op::AnyOne);
    } else if (c == U'#') {
      tokens_.emplace_back(Op::Digit);
    } else if (c == U'[') {
      const size_t close = p.find(U']', i + 1);
      if (close == std::u32string::npos) throw InvalidPattern(pattern);
      size_t j = i + 1;
      Token token(Op::InList);
      if (j < close && p[j] == U'!') {
        token.op = Op::NotInList;
        ++j;
      }
      for (; j < close; ++j) {
        // A "-" between two characters makes a range; at either end of the list it is itself.
        if (j + 2 < close && p[j + 1] == U'-') {
          if (p[j] > p[j + 2]) throw InvalidPattern(pattern);
          token.ranges.push_back({p[j], p[j + 2]});
          j += 2;
        } else {
          token.ranges.push_back({p[j], p[j]});
        }
      }
      // "[]" stands for the empty text: it consumes nothing, so it adds no token.
      if (!token.ranges.empty() || token.op == Op::NotInList) tokens_.push_back(std::move(token));
      i = close;
    } else {
      tokens_.emplace_back(Op::Literal, c);
    }
  }
}

bool WildcardPattern::MatchesOne(const Token& token, char32_t c) const {
  switch (token.op) {
    case Op::Literal: return c == token.literal;
    case Op::AnyOne: return true;
    case Op::Digit: return c >= U'0' && c <= U'9';
    case Op::InList:
    case Op::NotInList: {
      bool inList = false;
      for (const Range& r : token.ranges) {
        if (c >= r.low && c <= r.high) {
          inList = true;
          break;
        }
      }
      return inList == (token.op == Op::InList);
    }
    case Op::AnyRun: break;
  }
  return false;
}

bool WildcardPattern::Matches(std::string_view name) const {
  const std::u32string s = UpperCodePoints(name);
  // Every token but "*" consumes exactly one character, so remembering only the last star is enough:
  // a later star can always absorb what an earlier one would have.
  size_t si = 0;
  size_t ti = 0;
  size_t starToken = std::string::npos;
  size_t starText = 0;
  while (si < s.size()) {
    if (ti < tokens_.size() && tokens_[ti].op == Op::AnyRun) {
      starToken = ti++;
      starText = si;
    } else if (ti < tokens_.size() && MatchesOne(tokens_[ti], s[si])) {
      ++ti;
      ++si;
    } else if (starToken != std::string::npos) {
      ti = starToken + 1;
      si = ++starText;
    } else {
      return false;
    }
  }
  while (ti < tokens_.size() && tokens_[ti].op == Op::AnyRun) ++ti;
  return ti == tokens_.size();
}

bool WildcardMatch(std::string_view name, std::string_view pattern) { return WildcardPattern(pattern).Matches(name); }

PatternList::PatternList(std::string_view patterns) {
  for (std::size_t start = 0; start <= patterns.size();) {
    std::size_t end = patterns.find(';', start);
    if (end == std::string_view::npos) end = patterns.size();
    if (end > start) patterns_.emplace_back(patterns.substr(start, end - start));
    start = end + 1;
  }
}

bool PatternList::Matches(std::string_view name) const {
  for (const WildcardPattern& pattern : patterns_) {
    if (pattern.Matches(name)) return true;
  }
  return false;
}

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

}  // namespace qm
