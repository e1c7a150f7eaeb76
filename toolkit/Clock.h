// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kvistra {

// The time of day in the user's locale, with seconds and without a time zone.
QString timeOfDayText();

} // namespace kvistra
