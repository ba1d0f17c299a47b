// The Go Text Protocol (version 2) as text: commands written, replies read
// from what an engine prints, and the values GTP carries (vertices, moves,
// numbers, scores). No process and no Qt here; the engine's output is
// untrusted, so every reply is bounded and checked.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sol::gtp {

// A reply longer than this is not a GTP reply.
constexpr std::size_t MaxReplyBytes = 1024 * 1024;

// The vertex of a point 1..361 of the program's board ("A19" for 1, the
// top-left corner; columns A–T without I, rows counted from the bottom).
std::string Vertex(int point);
// The point of a vertex, in any case ("d4", "D4"); nullopt for anything else.
std::optional<int> PointOfVertex(std::string_view vertex);

struct Move {
  enum class Kind { Play, Pass, Resign };
  Kind kind = Kind::Pass;
  int point = 0;  // for Play
};
// A move as genmove answers it: a vertex, "pass" or "resign".
std::optional<Move> ParseMove(std::string_view text);
// Every vertex of a reply, in order (final_status_list: one group a line).
// nullopt when a word is not a vertex.
std::optional<std::vector<int>> ParseVertices(std::string_view text);

// A number as GTP writes it, in the C locale whatever the program's ("6.5").
std::string Number(double value);

struct Score {
  int winner = 0;  // 1 Black, 2 White, 0 a draw
  double points = 0;
};
// final_score's answer: "B+12.5", "W+0.5", "0".
std::optional<Score> ParseScore(std::string_view text);

// One line to send: "[id] name args…\n".
std::string Command(int id, std::string_view text);

struct Reply {
  bool success = false;  // '=' or '?'
  std::optional<int> id;
  std::string text;  // without the mark, the id and the blank line; lines joined by '\n'
};

// Reads replies out of what the engine prints, in pieces as they come.
class ReplyReader {
 public:
  // Takes more output. Control characters other than line feed and tab are
  // dropped, tabs become blanks, as the protocol asks.
  void Feed(std::string_view bytes);
  // The next whole reply, if one has arrived.
  std::optional<Reply> Next();
  // Why the output cannot be GTP ("" while it can): a line before a reply
  // that does not start one, or a reply beyond MaxReplyBytes.
  const std::string& Fault() const { return fault_; }
  void Clear();

 private:
  std::string buffer_;
  std::string fault_;
};

}  // namespace sol::gtp
