#pragma once
// Moving between the Mandelbrot set and Julia sets: arming the Julia start
// so that the next selection picks a constant, and going back to the
// Mandelbrot set around the constant of a Julia set.

#include "commands/command_host.h"
#include "engine/plot_record.h"

// The pending record for leaving a Julia set: a Mandelbrot region, the square
// of returnHeight (at any depth) centred on the current record's Julia
// constant. A returnHeight that is not positive (or not a number) is replaced
// by the height.
void PrepareMandelbrotReturn(PlotRecord& pending, const PlotRecord& current);

// 109: on a Mandelbrot record, arms the Julia start (computing the whole view
// first when no picture of the current record is on display).
void ArmJuliaStart(CommandHost& host);
// 111: from a Julia set or an armed record, posts the start of the
// Mandelbrot region around the constant.
void ReturnToMandelbrot(CommandHost& host);
// 110: from a Julia set, plots the Mandelbrot region around the constant at
// once and arms the Julia start on it.
void ReturnAndArmJuliaStart(CommandHost& host);
