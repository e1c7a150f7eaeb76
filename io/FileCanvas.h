#pragma once

#include "core/Canvas.h"
#include "core/Message.h"

#include <optional>

namespace kvistra {

// A read-only canvas whose rows come from its file as they are asked for. A row
// the file can no longer give (it shrank, or went bad past its header) reads as
// black, and the first such problem is kept: the front end must not trust what it
// read then.
class FileCanvas : public Canvas {
public:
    virtual const std::optional<Message>& readProblem() const = 0;
};

} // namespace kvistra
