// vesk-kit replay.
#include <ostream>

#include "kit/kit.hpp"

namespace vesk::kit {

int run_replay(const Arguments& /*args*/, std::ostream& /*out*/, std::ostream& err) {
  err << "vesk-kit: replay is not built yet\n";
  return kExitUsage;
}

}  // namespace vesk::kit
