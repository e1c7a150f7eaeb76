#pragma once

namespace kvistra {

// The program's version numbers: major, minor, revision.
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;

} // namespace kvistra
