// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Message.h"

#include <functional>

namespace kvistra {

// Shows a message modally and gives back the answer (1 OK, 2 Cancel, 6 Yes, 7 No).
using ShowMessage = std::function<int(const Message&)>;

} // namespace kvistra
