#pragma once
// The whole game for a frame benchmark: the shipped data copied into a fresh application folder
// (which a benchmark may edit before the start), on Mesa's surfaceless ES 1.1 context as a
// pbuffer of the given size, or, with FROG_BENCH_WINDOW=1 and a display, in SDL's window as the
// game runs (the window takes the display's size, so the display must have the size asked for).
// The platform layer's clock moves only by the pacing's delays (25 ms a frame) and the swap waits
// for the frame to be drawn, so every frame does the game's whole work (pump, update, draw) and
// no waiting. One at a time.
#include "core/Vector2.h"

#include <string>

class BenchGame
{
  public:
    // Copies the data; Start brings the game up.
    explicit BenchGame(Vector2<int> size);
    ~BenchGame();
    BenchGame(const BenchGame&) = delete;
    BenchGame& operator=(const BenchGame&) = delete;

    // Before Start: replaces the first match of pattern (a regular expression) in the data file
    // at relative by replacement; false when the file or the match is missing.
    bool EditData(const std::string& relative, const std::string& pattern, const std::string& replacement) const;
    // Before Start: the saved preferences the game finds, as the whole file.
    void WritePreferences(const std::string& text) const;

    // Starts the mode group "global" (the loading screen, the front end and a resumed puzzle);
    // false without a context, or when the folder could not be made.
    bool Start();
    // One frame of the game; the game's clock advances by one paced frame.
    void Frame();
    // One frame of nothing but the platform's clear and the swap, on the same context.
    void BareFrame();
    // Whether the game runs in a window (FROG_BENCH_WINDOW and a display) rather than a pbuffer.
    static bool InWindow();

    // CPU seconds of the process and of the calling thread, and wall seconds, for timing a
    // stretch of frames.
    static double ProcessCpuSeconds();
    static double ThreadCpuSeconds();
    static double WallSeconds();

  private:
    std::string m_folder;
    bool m_started = false;
};
