// The web front end: plays a game in a web page (or under node), its input
// awaited from the page a line at a time and its output handed over as bytes;
// the page plays it with the comforts around it (undo, restart, bookmarks).
#include <emscripten/emscripten.h>

#include <array>
#include <cstdint>
#include <iostream>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <streambuf>
#include <utility>

#include "core/game.hpp"
#include "front/session.hpp"
#include "front/shelf.hpp"

// What the page's script provides (web/library.js).
extern "C" {
// Waits for the page's next line and copies at most `capacity` of its bytes
// into `buffer`; the rest of a longer line comes at the next call. 0 once the
// input has ended.
int vesk_web_read(char* buffer, int capacity);
// Hands `length` bytes of output to the page.
void vesk_web_write(const char* bytes, int length);
}

namespace {

// Output held here and handed to the page whole, byte for byte: the standard
// streams of the browser runtime go by lines and re-encode the text.
class PageOutput : public std::streambuf {
 public:
  PageOutput() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }

 protected:
  int_type overflow(int_type c) override {
    hand_over();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override {
    hand_over();
    return 0;
  }

 private:
  void hand_over() {
    if (pptr() > pbase()) vesk_web_write(pbase(), static_cast<int>(pptr() - pbase()));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
  }

  std::array<char, 4096> buffer_{};
};

// Input that waits for the page: before each wait the output so far goes to
// the page, so that the player sees the prompt the game is waiting at.
class PageInput : public std::streambuf {
 public:
  explicit PageInput(std::streambuf& output) : output_(output) {}

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    output_.pubsync();
    const int length = vesk_web_read(buffer_.data(), static_cast<int>(buffer_.size()));
    if (length <= 0) return traits_type::eof();
    setg(buffer_.data(), buffer_.data(), buffer_.data() + length);
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::streambuf& output_;
  std::array<char, 4096> buffer_{};
};

// The streams between the page and a game, and the start of every game:
// the world loaded from `content` and handed to `play` with the streams.
// Returns the exit status that the console program would end with. The web
// build catches no exceptions (waiting for the page's lines rules them out),
// so content too big for the page's memory stops the engine where the
// console program would end the game; the page then ends it itself.
template <typename Play>
int play_in_page(const char* content, Play play) {
  PageOutput output_buffer;
  PageInput input_buffer(output_buffer);
  std::ostream out(&output_buffer);
  std::istream in(&input_buffer);
  std::optional<vesk::World> world = vesk::start_game(content, out);
  if (!world) {
    out.flush();
    std::cerr << "No game found: area1.txt is missing.\n";
    return 1;
  }
  play(std::move(*world), in, out);
  out.flush();
  return 0;
}

}  // namespace

// Plays the game whose content files are in `content` with the random
// generator seeded with `seed`, saving and loading games in `saves`.
extern "C" EMSCRIPTEN_KEEPALIVE int vesk_web_play(std::uint32_t seed, const char* content, const char* saves) {
  return play_in_page(content, [&](vesk::World world, std::istream& in, std::ostream& out) {
    const auto game = std::make_unique<vesk::Game>(std::move(world), in, out, seed, saves);
    game->run();
  });
}

// The same with the comforts around the game, its bookmarks kept as files in
// `bookmarks`, which the page keeps in the browser. A restart plays `seed`
// again when `seed_given` (the page's ?seed=N), else a new one.
extern "C" EMSCRIPTEN_KEEPALIVE int vesk_web_play_comforts(std::uint32_t seed, int seed_given, const char* content,
                                                           const char* saves, const char* bookmarks) {
  return play_in_page(content, [&](vesk::World world, std::istream& in, std::ostream& out) {
    vesk::front::DirectoryShelf shelf(bookmarks);
    vesk::front::Comforts comforts;
    if (seed_given) comforts.fixed_seed = seed;
    comforts.shelf = &shelf;
    comforts.transcripts_elsewhere = "The page keeps the transcript: its \"Download transcript\" button saves it.";
    const auto session =
        std::make_unique<vesk::front::Session>(std::make_shared<const vesk::World>(std::move(world)),
                                               vesk::front::content_digest(content), in, out, seed, saves, comforts);
    session->run();
  });
}
