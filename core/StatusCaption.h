// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kvistra {

// The status line a run shows in the window's caption, without words: the front
// ends turn it into text through the message catalogue.
enum class StatusCaption {
    Waiting,
    Analysing,
    AnalysisDone,
    WritingLeadIn,
    WritingCipherData,
    WritingDecoys,
    Decoding,
};

} // namespace kvistra
