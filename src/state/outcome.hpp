// What a command did with the player's turn.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vesk {

class Outcome {
 public:
  enum class Kind {
    kNoTurn,  // nothing passed: the prompt comes again
    kTurn,    // a turn passed where the player stands: the enemies get ready
    kPath,    // a path of an ordinary area was taken: the move follows
    kStep,    // a step from a spot of a subdivided area: the move follows
  };

  static Outcome no_turn() { return Outcome(Kind::kNoTurn); }
  static Outcome turn() { return Outcome(Kind::kTurn); }
  // The path numbered `path` (from 1) of area `area`, where it was chosen; the
  // move takes it even if its scripts moved the player elsewhere meanwhile.
  static Outcome path(std::int32_t area, std::size_t path) {
    Outcome outcome(Kind::kPath);
    outcome.area_ = area;
    outcome.path_ = path;
    return outcome;
  }
  // A step in compass direction 0 to 3.
  static Outcome step(std::int32_t direction) {
    Outcome outcome(Kind::kStep);
    outcome.direction_ = direction;
    return outcome;
  }

  Kind kind() const { return kind_; }
  bool passes_turn() const { return kind_ != Kind::kNoTurn; }
  std::int32_t area() const { return area_; }
  std::size_t path() const { return path_; }
  std::int32_t direction() const { return direction_; }

 private:
  explicit Outcome(Kind kind) : kind_(kind) {}

  Kind kind_;
  std::int32_t area_ = 0;
  std::size_t path_ = 0;
  std::int32_t direction_ = 0;
};

}  // namespace vesk
