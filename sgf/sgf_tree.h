#pragma once

// SGF files as a generic tree: every property and every variation of every
// game in a file, with no meaning given to any of them. The file is untrusted
// input: its size and the counts that decide time and memory are bounded, and
// nothing here recurses, so neither reading nor destroying a deep tree can run
// out of stack.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"

namespace sol::sgf {

// Limits on what a file may hold; a file beyond one of them is refused with a
// message naming it.
constexpr std::size_t MaxFileBytes = 16 * 1024 * 1024;
constexpr std::size_t MaxNodes = 200'000;
constexpr std::size_t MaxProperties = 500'000;
constexpr std::size_t MaxValueBytes = 1024 * 1024;
// Variations inside variations; a game's main line is not nested at all.
constexpr std::size_t MaxNestingDepth = 10'000;

// A file that cannot be read as SGF, or a game that cannot be taken into the
// program. The message is meant for the player as it is.
class SgfError : public std::exception {
 public:
  explicit SgfError(Str message);
  const Str& Message() const { return message_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  Str message_;
  std::string utf8_;
};

struct Property {
  // Upper-case letters only: the lower-case ones of older files are dropped
  // ("CoPyright" is "CP").
  std::string Id;
  // Values as UTF-8 with the escapes resolved; a soft line break ('\' before a
  // line break) is gone, other line breaks are kept as '\n'.
  std::vector<std::string> Values;
};

constexpr int NoNode = -1;

struct Node {
  int Parent = NoNode;
  int FirstChild = NoNode;
  int NextSibling = NoNode;
  // The node's properties are Properties[PropertyBegin, PropertyEnd) of its tree.
  std::size_t PropertyBegin = 0;
  std::size_t PropertyEnd = 0;
};

// One game: Nodes[0] is the root, children are in file order, so the first
// child is the main line.
struct GameTree {
  std::vector<Node> Nodes;
  std::vector<Property> Properties;

  std::vector<int> Children(int node) const;
  int ChildCount(int node) const;
  // The node's properties in file order.
  const Property* begin(int node) const { return Properties.data() + Nodes[node].PropertyBegin; }
  const Property* end(int node) const { return Properties.data() + Nodes[node].PropertyEnd; }
  // The first property of that name in the node, or null.
  const Property* Find(int node, std::string_view id) const;
  // The first value of that property, or "" when the node lacks it.
  std::string Value(int node, std::string_view id) const;
};

struct Collection {
  std::vector<GameTree> Games;
  // The iconv name of the encoding the file was read in ("UTF-8", "CP932", …).
  std::string Encoding;
  // The file's own CA label, "" when it has none.
  std::string DeclaredCharset;
  // True when the file has a CA label but was not read in that encoding (an
  // unknown label, or bytes that are not text in it).
  bool CharsetIgnored = false;
  // Short lines for the player about how the file was read.
  std::vector<Str> Notes;
};

// Reads the whole file. Throws SgfError with a Japanese message when the
// bytes are not an SGF collection or break a limit above.
Collection ParseCollection(std::string_view bytes);

// A simple-text value as one line: its line breaks become blanks.
std::string SimpleText(std::string_view value);

}  // namespace sol::sgf
