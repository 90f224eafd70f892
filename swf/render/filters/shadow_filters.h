#pragma once
// Filters built from the object's blurred alpha: drop shadows, glows, bevels and their gradient
// forms. Each replaces the image with the object and its effect combined as the filter says
// (around, inside or over the object; knocked out; or the effect alone).

#include "swf/movie/filters.h"
#include "swf/render/filters/filter_image.h"

namespace swf {

void applyDropShadow(const DropShadowFilter& f, FilterImage img, FilterScale scale);
void applyGlow(const GlowFilter& f, FilterImage img, FilterScale scale);
void applyBevel(const BevelFilter& f, FilterImage img, FilterScale scale);
void applyGradientGlow(const GradientFilterParams& f, FilterImage img, FilterScale scale);
void applyGradientBevel(const GradientFilterParams& f, FilterImage img, FilterScale scale);

// Blur sizes in device pixels, capped as the authoring tool caps them (255 stage pixels).
double deviceBlur(double stagePixels, double scale);
// The passes a filter runs, capped so that a file cannot ask for unbounded work.
int cappedPasses(int passes);
// The shadow's offset in whole device pixels.
void filterOffset(double angle, double distance, FilterScale scale, int& dx, int& dy);

}  // namespace swf
