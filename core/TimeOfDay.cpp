#include "TimeOfDay.h"

#include <chrono>
#include <ctime>

namespace kvistra {

double secondsSinceLocalMidnight() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const double fraction = std::chrono::duration<double>(now.time_since_epoch()).count() -
                            static_cast<double>(seconds);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

} // namespace kvistra
