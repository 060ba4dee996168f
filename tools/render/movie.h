#pragma once
// zirn-render's movie mode: the keyframes of a zoom movie from a target
// parameter file (movie_plan.h), and with --video their assembly
// (movie_video.h).

#include "movie_options.h"

// Runs the movie mode; returns the exit code after any message.
int RunMovie(const MovieOptions& options);

// Parses the movie mode's options and runs it; for main.
int MovieMain(int argc, const char* const* argv);
