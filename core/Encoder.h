#pragma once

#include "Canvas.h"
#include "NumberLocale.h"
#include "ProgramWideValues.h"
#include "Progress.h"
#include "RandomSource.h"
#include "WindowHost.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kvistra {

// "Generera kryptobild": turns the canvas into a cipher picture in stages, each
// announced in the caption and advancing the progress bar. Fields are read once
// per stage; nothing can change them while a stage runs.
class Encoder {
public:
    Encoder(WindowHost& host, Canvas& canvas, RandomSource& random, ProgramWideValues& shared);

    // The whole command; true when a cipher picture was written.
    bool generate();

    // The stages, in the order generate() runs them.
    void AnalyzeInput();
    void WriteAdaptedData();
    void writeLeadIn();
    void WriteCryptoData();
    void GenerateDecoys(std::int16_t startColumn, std::int16_t startRow);

    const Progress& progress() const { return progress_; }

private:
    struct Position {
        int x;
        int y;
    };

    // Everything that would stop the run halfway is refused before anything is written.
    std::optional<Message> refusalBeforeWriting() const;
    std::optional<Position> keyPosition() const;
    double shift() const;
    // Writes MessageText along the walk from `from`; returns the position after it.
    Position writeMessageRun(Position from);
    // Reseeded random colours at `count` positions along the walk from `from`.
    void writeRandomPositions(Position from, std::int64_t count, StepRule rule);
    void report();
    void setCaption(const char* caption);

    WindowHost& host_;
    Canvas& canvas_;
    RandomSource& random_;
    ProgramWideValues& shared_;
    NumberLocale locale_;
    std::string input_; // Windows-1252
    Progress progress_;
};

} // namespace kvistra
