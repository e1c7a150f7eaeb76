// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kvistra {

// What the program is asked on its command line: `kvistra [BILD [NYCKELFIL]]`.
struct StartRequest {
    enum class Action { Run, Help, Version, UsageError };

    Action action = Action::Run;
    std::string picture; // empty: none given
    std::string keyFile; // empty: none given
    std::string problem; // what was wrong, for a usage error
};

// The arguments after the program's name. "--help" and "--version" win wherever they
// stand before "--", so that they are answered even among the toolkit's own options,
// before the toolkit starts and without a display.
StartRequest parseStartArguments(const std::vector<std::string>& arguments);

inline constexpr const char* kStartUsage =
    R"(Användning: kvistra [BILD [NYCKELFIL]]

Öppnar Kvistras fönster. En bild som anges öppnas som med "öppna bild",
en nyckelfil som med "Öppna nyckelfil...".

  -h, --help    visar den här hjälpen
  --version     visar versionen
  --            allt som följer är filnamn, även det som börjar med "-"

Qt:s allmänna flaggor, som -platform NAMN, godtas också.
Slutstatus: 0 klart, 2 felaktig användning.
)";

} // namespace kvistra
