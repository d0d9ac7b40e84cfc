#include "lang/Version.h"

#if !defined(DTU_VERSION_MAJOR) || !defined(DTU_VERSION_MINOR) || !defined(DTU_VERSION_RELEASE) || \
    !defined(DTU_VERSION_BUILD)
#error "the build passes the project version as DTU_VERSION_MAJOR, _MINOR, _RELEASE and _BUILD"
#endif

namespace lang {
namespace {

// A Windows version resource holds each number in 16 bits; a larger one would show a different version there.
constexpr bool FitsVersionField(unsigned long long number) { return number <= 0xFFFF; }
static_assert(FitsVersionField(DTU_VERSION_MAJOR) && FitsVersionField(DTU_VERSION_MINOR) &&
                  FitsVersionField(DTU_VERSION_RELEASE) && FitsVersionField(DTU_VERSION_BUILD),
              "each version number must fit in 16 bits");

}  // namespace

std::string GetAppVersion() {
  return std::to_string(DTU_VERSION_MAJOR) + "." + std::to_string(DTU_VERSION_MINOR) + "." +
         std::to_string(DTU_VERSION_RELEASE) + "." + std::to_string(DTU_VERSION_BUILD);
}

}  // namespace lang
