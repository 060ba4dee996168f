#pragma once
// The video of a zoom movie from its keyframes, through ffmpeg: 30 frames a
// second at constant zoom speed, each frame cut from the deepest keyframe
// that still covers it and scaled down to the video size by area averaging.

#include "movie_options.h"
#include "movie_plan.h"

// Assembles options.video from the keyframes in options.folder; returns the
// exit code after any message.
int AssembleMovie(const MoviePlan& plan, const MovieOptions& options);
