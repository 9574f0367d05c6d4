#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm {

/// A name pattern of the catalogue, compiled once and matched against many names: "*" any run of
/// characters (also none), "?" any one character, "#" any one digit, "[list]" any one character of the list
/// (ranges such as A-Z allowed), "[!list]" any one character not in it; every other character matches
/// itself. The whole name must match, and the match ignores case (both sides are upper-cased). Characters
/// are Unicode code points of the UTF-8 text, so "?" matches one accented letter, not one byte.
class WildcardPattern {
 public:
  /// Compiles `pattern`; an unclosed "[" or a descending range raises RuntimeError 93 "Invalid pattern
  /// string", as such a pattern can match nothing sensibly.
  explicit WildcardPattern(std::string_view pattern);

  /// True when the whole of `name` matches.
  bool Matches(std::string_view name) const;

 private:
  struct Range {
    char32_t low;
    char32_t high;
  };
  enum class Op { Literal, AnyRun, AnyOne, Digit, InList, NotInList };
  struct Token {
    explicit Token(Op o, char32_t c = 0) : op(o), literal(c) {}
    Op op;
    char32_t literal;
    std::vector<Range> ranges;
  };

  bool MatchesOne(const Token& token, char32_t c) const;

  std::vector<Token> tokens_;
};

/// The file-name patterns of a File or FileTree item, separated by ";" ("*.log;*.tmp"): a name matches when
/// one of them matches it. Empty parts are left out; a list of none matches no name.
class PatternList {
 public:
  /// Compiles each pattern; a pattern that cannot be read raises as WildcardPattern does.
  explicit PatternList(std::string_view patterns);

  bool Matches(std::string_view name) const;

 private:
  std::vector<WildcardPattern> patterns_;
};

/// True when `text` holds "*" or "?": the characters that make a path segment or a hold a pattern (no Windows
/// file name can hold them).
bool HasWildcard(std::string_view text);

/// One-off form of WildcardPattern(pattern).Matches(name).
bool WildcardMatch(std::string_view name, std::string_view pattern);

/// The code points of UTF-8 text, upper-cased (ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic
/// letters); malformed bytes become U+FFFD.
std::u32string UpperCodePoints(std::string_view utf8);

}  // namespace qm
