// A game held in memory for the script tests: empty areas, no input, and the
// output kept for inspection.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "script/condition.hpp"
#include "script/expand.hpp"
#include "script/interpreter.hpp"
#include "script/runner.hpp"
#include "script/variables.hpp"
#include "state/game_state.hpp"

namespace vesk::testing {

inline World empty_areas(std::size_t count) {
  World world;
  for (std::size_t a = 0; a < count; ++a) world.add_area(Area{});
  return world;
}

struct ScriptGame {
  explicit ScriptGame(std::size_t areas = 1) : game(std::make_shared<const World>(empty_areas(areas)), in, out, 0) {}

  std::string expand(const std::string& text) { return expand_text(game, text); }
  // A variable as a script line names it, resolved as loading resolves it.
  std::int32_t get(const std::string& name) { return get_variable(game, resolve_variable(name, texts)); }
  void set(const std::string& name, std::int32_t value) { set_variable(game, resolve_variable(name, texts), value); }
  bool holds(const std::string& condition) {
    return evaluate_condition(game, compile_condition(word_views(condition), texts));
  }
  void execute(const std::string& command) { execute_command(game, compile_command(word_views(command), texts)); }
  void run(std::initializer_list<std::string_view> lines) { run_script(game, Script(Script::Form::kList, lines)); }
  const std::vector<std::int32_t>& numbered() const { return game.vars.numbered; }

  CompileTexts texts;  // what the compiled names and commands view
  std::istringstream in;
  std::ostringstream out;
  GameState game;
};

}  // namespace vesk::testing
