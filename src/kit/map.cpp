// vesk-kit map.
#include <ostream>

#include "kit/kit.hpp"

namespace vesk::kit {

int run_map(const Arguments& /*args*/, std::ostream& /*out*/, std::ostream& err) {
  err << "vesk-kit: map is not built yet\n";
  return kExitUsage;
}

}  // namespace vesk::kit
