// vesk-kit check.
#include <ostream>

#include "kit/kit.hpp"

namespace vesk::kit {

int run_check(const Arguments& /*args*/, std::ostream& /*out*/, std::ostream& err) {
  err << "vesk-kit: check is not built yet\n";
  return kExitUsage;
}

}  // namespace vesk::kit
