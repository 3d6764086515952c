// vesk-kit play.
#include <ostream>

#include "kit/kit.hpp"

namespace vesk::kit {

int run_play(const Arguments& /*args*/, std::istream& /*in*/, std::ostream& /*out*/, std::ostream& err) {
  err << "vesk-kit: play is not built yet\n";
  return kExitUsage;
}

}  // namespace vesk::kit
