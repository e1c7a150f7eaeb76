#pragma once

namespace kvistra {

// Seconds since local midnight, with the clock's fraction.
double secondsSinceLocalMidnight();

} // namespace kvistra
